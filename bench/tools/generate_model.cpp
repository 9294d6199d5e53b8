// Writes the generated large model that the benchmarks read, for timing whole processes on it.
//
//     generate_model OUT.3do [MESHES FACES_PER_MESH]    (default 64 meshes of 3000 faces, 55 MB)

#include "GeneratedModel.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "Usage: generate_model OUT.3do [MESHES FACES_PER_MESH]\n");
        return 2;
    }
    const int meshes = argc == 4 ? std::atoi(argv[2]) : 64;
    const int faces = argc == 4 ? std::atoi(argv[3]) : 3000;
    if (meshes < 1 || faces < 1) {
        std::fprintf(stderr, "MESHES and FACES_PER_MESH must be positive\n");
        return 2;
    }
    const std::string text = sw::bench::generatedModelText(meshes, faces);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
