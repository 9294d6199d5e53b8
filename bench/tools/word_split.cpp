// The baseline for timing `skinweaver-cli info` as a whole process: reads a file and splits it
// into words with an input file stream, and prints how many there were.
//
//     word_split FILE

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: word_split FILE\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    std::string word;
    std::size_t words = 0;
    while (in >> word)
        ++words;
    std::printf("%zu\n", words);
    return 0;
}
