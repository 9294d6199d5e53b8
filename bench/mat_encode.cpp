// bench-links: sw_textures
//
// Writing a 1024 x 1024 image as a MAT. The 16-bit file, one rounding per channel, is the
// baseline; 8-bit files search the palette for each colour not seen before, so a painted image
// (few colours) and noise (nearly every pixel a new colour) are measured apart. The ratios to
// the baseline are printed after the table.

#include "textures/MatWriter.h"
#include "textures/Palette.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 1024;

// Painted: 16 x 16 blocks of 64 colours. Noise: every byte from a linear congruential sequence.
std::vector<std::uint8_t> makeImage(bool noise) {
    std::vector<std::uint8_t> rgba(std::size_t{kSide} * kSide * 4);
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const std::size_t x = i / 4 % kSide;
        const std::size_t y = i / 4 / kSide;
        const auto block = static_cast<std::uint32_t>((x / 16 + y / 16 * 7) % 64);
        for (std::size_t c = 0; c < 3; ++c) {
            state = state * 1664525u + 1013904223u;
            rgba[i + c] = static_cast<std::uint8_t>(noise ? state >> 24 : block * (c + 1) * 37);
        }
        rgba[i + 3] = 255;
    }
    return rgba;
}

void encode(benchmark::State& state, bool noise, sw::MatPixels format) {
    const std::vector<std::uint8_t> rgba = makeImage(noise);
    sw::Palette palette;
    sw::buildDefaultPalette(palette);
    for (auto _ : state) {
        const sw::EncodeResult file = sw::encodeMat({kSide, kSide, rgba}, format, palette);
        if (!file)
            state.SkipWithError("not encoded");
        benchmark::DoNotOptimize(file.bytes.data());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

// Prints each benchmark's time over the baseline's after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                seconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto baseline = seconds_.find("Baseline/rgb565");
        if (baseline == seconds_.end() || baseline->second <= 0)
            return;
        for (const auto& [name, seconds] : seconds_)
            if (name != baseline->first)
                GetOutputStream() << name << " / baseline: " << seconds / baseline->second << "\n";
    }

private:
    std::map<std::string, double> seconds_;
};

} // namespace

int main(int argc, char** argv) {
    using sw::MatPixels;
    benchmark::RegisterBenchmark("Baseline/rgb565", encode, false, MatPixels::Rgb565);
    benchmark::RegisterBenchmark("Indexed/painted", encode, false, MatPixels::Indexed);
    benchmark::RegisterBenchmark("Indexed/noise", encode, true, MatPixels::Indexed);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
