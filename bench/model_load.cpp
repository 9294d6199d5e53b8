// Reading a large model (the generated one of 55 MB): the 3DO reader against a baseline that
// only splits the same file into words with an input file stream, in the same run. The ratio
// of the two times is printed after the table; below 1, loading is the faster.
// bench-links: sw_model

#include "GeneratedModel.h"
#include "RatioReporter.h"
#include "model/Model.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string& modelPath() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "skinweaver-bench-load.3do";
        const std::string text = sw::bench::generatedModelText(64, 3000);
        std::ofstream(file, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
        return file.string();
    }();
    return path;
}

std::int64_t fileSize() {
    return static_cast<std::int64_t>(std::filesystem::file_size(modelPath()));
}

void BM_BaselineWordSplit(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(modelPath());
        std::string word;
        std::size_t words = 0;
        while (in >> word)
            ++words;
        benchmark::DoNotOptimize(words);
    }
    state.SetBytesProcessed(state.iterations() * fileSize());
}
BENCHMARK(BM_BaselineWordSplit)->Unit(benchmark::kMillisecond);

// The model is released inside the timing, as a process that loads it releases it too.
void BM_Load(benchmark::State& state) {
    for (auto _ : state) {
        sw::Model model;
        if (!model.load(modelPath()))
            state.SkipWithError("the generated model did not load");
        benchmark::DoNotOptimize(model.meshes.data());
    }
    state.SetBytesProcessed(state.iterations() * fileSize());
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    modelPath(); // written before the first timing
    sw::bench::RatioReporter reporter("BM_Load", "BM_BaselineWordSplit",
                                      "load time / word split time");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
