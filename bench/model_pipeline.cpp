// bench-links: sw_model
// Load, prepare and save of a generated model of more than 50 MB: many meshes of a few
// thousand faces over several materials, as large character and level models have them.
// Preparation and saving should each take no longer than loading.

#include "model/Model.h"
#include "platform/MessageBox.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kMeshes = 110;
constexpr int kVertices = 1500;
constexpr int kTxverts = 2000;
constexpr int kFaces = 3000;
constexpr int kMaterials = 8;

void appendf(std::string& out, const char* format, auto... values) {
    char line[256];
    const int n = std::snprintf(line, sizeof line, format, values...);
    out.append(line, static_cast<std::size_t>(n));
}

// Pseudo-random but fixed coordinates, written with six decimals as exporters write them.
double coordinate(unsigned& state) {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / (1u << 24) * 2.0 - 1.0;
}

std::string generateModel() {
    std::string text;
    text.reserve(60u << 20);
    text += "SECTION: HEADER\r\n\r\n3DO 2.1\r\n\r\nSECTION: MODELRESOURCE\r\n\r\n";
    appendf(text, "MATERIALS %d\r\n\r\n", kMaterials);
    for (int i = 0; i < kMaterials; ++i)
        appendf(text, "%6d: texture%d.mat\r\n", i, i);
    text += "\r\nSECTION: GEOMETRYDEF\r\n\r\nRADIUS 10.000000\r\n\r\n"
            "INSERT OFFSET 0.000000 0.000000 0.000000\r\n\r\nGEOSETS 1\r\n\r\nGEOSET 0\r\n\r\n";
    appendf(text, "MESHES %d\r\n", kMeshes);
    unsigned state = 12345;
    for (int m = 0; m < kMeshes; ++m) {
        appendf(text, "\r\nMESH %d\r\n\r\nNAME mesh%d\r\n\r\nRADIUS 1.000000\r\n\r\n", m, m);
        text += "GEOMETRYMODE 4\r\nLIGHTINGMODE 3\r\nTEXTUREMODE 3\r\n\r\n";
        appendf(text, "VERTICES %d\r\n\r\n", kVertices);
        for (int j = 0; j < kVertices; ++j)
            appendf(text, "%6d: %10.6f %10.6f %10.6f %10.6f\r\n", j, coordinate(state),
                    coordinate(state), coordinate(state), 0.0);
        appendf(text, "\r\nTEXTURE VERTICES %d\r\n\r\n", kTxverts);
        for (int j = 0; j < kTxverts; ++j)
            appendf(text, "%6d: %10.6f %10.6f\r\n", j, (coordinate(state) + 1) * 32,
                    -(coordinate(state) + 1) * 32);
        text += "\r\nVERTEX NORMALS\r\n\r\n";
        for (int j = 0; j < kVertices; ++j)
            appendf(text, "%6d: %10.6f %10.6f %10.6f\r\n", j, coordinate(state), coordinate(state),
                    coordinate(state));
        appendf(text, "\r\nFACES %d\r\n\r\n", kFaces);
        for (int k = 0; k < kFaces; ++k) {
            // Four materials per mesh, in runs, sharing texture vertices at the run seams.
            const int material = (m + k / 50 % 4) % kMaterials;
            const int t = k * 2 / 3;
            appendf(text, "%6d: %3d 0x0000 4 3 3 0.000000 3 %5d, %5d %5d, %5d %5d, %5d\r\n", k,
                    material, k % kVertices, t % kTxverts, (k + 1) % kVertices, (t + 1) % kTxverts,
                    (k + 2) % kVertices, (t + 2) % kTxverts);
        }
        text += "\r\nFACE NORMALS\r\n\r\n";
        for (int k = 0; k < kFaces; ++k)
            appendf(text, "%6d: %10.6f %10.6f %10.6f\r\n", k, coordinate(state), coordinate(state),
                    coordinate(state));
    }
    appendf(text, "\r\nSECTION: HIERARCHYDEF\r\n\r\nHIERARCHY NODES %d\r\n", kMeshes);
    for (int i = 0; i < kMeshes; ++i)
        appendf(text,
                "%6d: 0x0000 0x0001 %d %d -1 -1 0 0.000000 0.000000 0.100000 0.000000 0.000000 "
                "0.000000 0.000000 0.000000 0.050000 node%d\r\n",
                i, i, i - 1, i);
    return text;
}

// The generated model on disk for the whole run.
struct ModelFile {
    ModelFile() {
        path = (std::filesystem::temp_directory_path() / "skinweaver-bench-model.3do").string();
        savePath = path + ".saved";
        const std::string text = generateModel();
        bytes = static_cast<std::int64_t>(text.size());
        std::ofstream(path, std::ios::binary).write(text.data(), bytes);
    }
    ~ModelFile() {
        std::filesystem::remove(path);
        std::filesystem::remove(savePath);
    }
    std::string path;
    std::string savePath;
    std::int64_t bytes = 0;
};

const ModelFile& modelFile() {
    static const ModelFile file;
    return file;
}

class NoMessages : public sw::MessageBoxService {
public:
    int messageBox(sw::Window, const std::string&, const std::string&, unsigned) override {
        return sw::kIdOk;
    }
};

void loaded64(sw::Material& material, const std::string&) {
    material.notLoaded = false;
    material.width = 64;
    material.height = 64;
}

void load(benchmark::State& state) {
    const ModelFile& file = modelFile();
    for (auto _ : state) {
        sw::Model model;
        if (!model.load(file.path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.meshes.data());
        state.PauseTiming(); // the release of the model is no part of loading
        model = sw::Model();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

void prepare(benchmark::State& state) {
    const ModelFile& file = modelFile();
    NoMessages messages;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<sw::Model>();
        if (!model->load(file.path))
            state.SkipWithError("load failed");
        state.ResumeTiming();
        if (!model->prepare(loaded64, messages))
            state.SkipWithError("prepare failed");
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

void save(benchmark::State& state) {
    const ModelFile& file = modelFile();
    NoMessages messages;
    sw::Model model;
    if (!model.load(file.path) || !model.prepare(loaded64, messages)) {
        state.SkipWithError("load or prepare failed");
        return;
    }
    for (auto _ : state) {
        if (!model.save(file.savePath))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

BENCHMARK(load)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(prepare)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(save)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
