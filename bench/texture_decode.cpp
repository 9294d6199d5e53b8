// bench-links: sw_textures
//
// Decoding a 1024 x 1024 MAT texture (8-bit and 16-bit) from its file, against reading the
// same file into memory. Throughput is in bytes of the file per second.

#include "model/Model.h"
#include "textures/FileBytes.h"
#include "textures/MatReader.h"
#include "textures/Palette.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr std::int32_t kSide = 1024;

void put32(std::string& out, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

// A texture with one cel record and varied pixel bytes, written once per run.
std::string writeTexture(int bitsPerPixel) {
    std::string bytes = "MAT ";
    for (std::int32_t field : {0x32, 2, 1, 1, 0, bitsPerPixel})
        put32(bytes, field);
    bytes.resize(76 + 40, '\0');
    put32(bytes, kSide);
    put32(bytes, kSide);
    bytes.resize(bytes.size() + 16, '\0');
    const std::size_t pixelBytes = std::size_t{kSide} * kSide * (bitsPerPixel == 8 ? 1 : 2);
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < pixelBytes; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes += static_cast<char>(state >> 24);
    }
    const auto path = std::filesystem::temp_directory_path() /
                      ("skinweaver-bench-" + std::to_string(bitsPerPixel) + ".mat");
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

const std::string& texture(int bitsPerPixel) {
    static const std::string eight = writeTexture(8);
    static const std::string sixteen = writeTexture(16);
    return bitsPerPixel == 8 ? eight : sixteen;
}

void ReadFile(benchmark::State& state) {
    const std::string& path = texture(static_cast<int>(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        const sw::FileBytes file = sw::readFileBytes(path);
        size = file.bytes.size();
        benchmark::DoNotOptimize(file.bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void DecodeMatFile(benchmark::State& state) {
    const std::string& path = texture(static_cast<int>(state.range(0)));
    sw::Palette palette;
    sw::buildDefaultPalette(palette);
    const sw::Preferences preferences;
    const auto size = std::filesystem::file_size(path);
    for (auto _ : state) {
        sw::Material material;
        material.path = path;
        material.explicitPath = true;
        sw::decodeMat(material, palette, preferences);
        if (material.notLoaded)
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(material.pixels.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

} // namespace

BENCHMARK(ReadFile)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeMatFile)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
