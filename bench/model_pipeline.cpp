// bench-links: sw_model
// Load, prepare and save of the generated model of more than 50 MB (64 meshes of 3000 faces,
// two materials in alternating runs, so that preparation splits many shared texture
// vertices). Loading is the baseline: preparation and saving should each take no longer.

#include "GeneratedModel.h"
#include "PrepareStandIns.h"
#include "model/Model.h"
#include "platform/MessageBox.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The generated model on disk for the whole run.
struct ModelFile {
    ModelFile() {
        path = (std::filesystem::temp_directory_path() / "skinweaver-bench-model.3do").string();
        savePath = path + ".saved";
        const std::string text = sw::bench::generatedModelText(64, 3000);
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

using sw::bench::loaded64;
using sw::bench::NoMessages;

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
