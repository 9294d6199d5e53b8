// bench-links: sw_textures
//
// Opening a model of 200 materials whose textures are nowhere near it, with and without a
// texture source: a GOB archive of 500, 5,000 or 50,000 entries that holds them. Each run
// loads the model file and prepares it, as Open does, without the GL upload; the archive's
// directory is read once per run. The baselines are the same model with no source (every
// texture missing) and with its textures beside it. Lookup/N finds the 200 names in a
// directory of N entries already read. The ratios after the table say what the source costs
// and whether a lookup depends on the archive's size.

#include "PrepareStandIns.h"
#include "model/Model.h"
#include "platform/MessageBox.h"
#include "textures/GobArchive.h"
#include "textures/Palette.h"
#include "textures/TextureLoader.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kMaterials = 200;

void put32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// An 8-bit 16 x 16 texture, as most of the game's textures are (only smaller).
std::string matFile() {
    std::string bytes = "MAT ";
    for (std::uint32_t field : {0x32u, 2u, 1u, 1u, 0u, 8u})
        put32(bytes, field);
    bytes.resize(76 + 40, '\0');
    put32(bytes, 16);
    put32(bytes, 16);
    bytes.resize(bytes.size() + 16, '\0');
    for (int i = 0; i < 16 * 16; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}

std::string textureName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "tex%03d", i);
    return name;
}

// The model's materials in one triangle each.
std::string modelText() {
    std::string text = "SECTION: HEADER\n3DO 2.1\nSECTION: MODELRESOURCE\nMATERIALS " +
                       std::to_string(kMaterials) + "\n";
    for (int i = 0; i < kMaterials; ++i)
        text += std::to_string(i) + ": " + textureName(i) + ".mat\n";
    text += "SECTION: GEOMETRYDEF\nRADIUS 1\nINSERT OFFSET 0 0 0\nGEOSETS 1\nGEOSET 0\nMESHES 1\n"
            "MESH 0\nNAME m\nRADIUS 1\nGEOMETRYMODE 4\nLIGHTINGMODE 3\nTEXTUREMODE 3\n"
            "VERTICES 3\n0: 0 0 0 0\n1: 1 0 0 0\n2: 0 1 0 0\n"
            "TEXTURE VERTICES 3\n0: 0 0\n1: 16 0\n2: 0 -16\n"
            "VERTEX NORMALS\n0: 0 0 1\n1: 0 0 1\n2: 0 0 1\nFACES " +
            std::to_string(kMaterials) + "\n";
    for (int i = 0; i < kMaterials; ++i)
        text += std::to_string(i) + ": " + std::to_string(i) + " 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2\n";
    text += "FACE NORMALS\n";
    for (int i = 0; i < kMaterials; ++i)
        text += std::to_string(i) + ": 0 0 1\n";
    return text + "SECTION: HIERARCHYDEF\nHIERARCHY NODES 1\n"
                  "0: 0x0000 0x00001 0 -1 -1 -1 0 0 0 0 0 0 0 0 0 0 root\n";
}

// An archive of `entries` files: the model's textures under 3do\mat\ among others of the
// game's kind under mat\, which all share one texture's bytes.
std::string archive(int entries) {
    const std::string texture = matFile();
    std::string bytes = "GOB ";
    put32(bytes, 0x14);
    put32(bytes, 12);
    put32(bytes, static_cast<std::uint32_t>(entries));
    const auto data = static_cast<std::uint32_t>(16 + entries * 136);
    for (int i = 0; i < entries; ++i) {
        std::string name = i < kMaterials ? "3do\\mat\\" + textureName(i) + ".mat"
                                          : "mat\\level" + std::to_string(i) + ".mat";
        put32(bytes, data);
        put32(bytes, static_cast<std::uint32_t>(texture.size()));
        name.resize(128, '\0');
        bytes += name;
    }
    return bytes + texture;
}

void write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The files of every case, on disk for the whole run.
struct Files {
    Files() : root(fs::temp_directory_path() / "skinweaver-bench-sources") {
        fs::remove_all(root);
        write(root / "far/3do/model.3do", modelText());
        write(root / "near/3do/model.3do", modelText());
        for (int i = 0; i < kMaterials; ++i)
            write(root / "near/3do/mat" / (textureName(i) + ".MAT"), matFile());
        for (int entries : {500, 5000, 50000})
            write(root / ("Res" + std::to_string(entries) + ".gob"), archive(entries));
    }
    ~Files() { fs::remove_all(root); }
    fs::path root;
};

const Files& files() {
    static const Files made;
    return made;
}

using sw::bench::NoMessages;

// Open without the upload: read, then prepared with every texture searched and decoded.
void open(benchmark::State& state, const std::string& folder, int archiveEntries) {
    const fs::path root = files().root;
    sw::Palette palette;
    sw::buildDefaultPalette(palette);
    const sw::Preferences preferences;
    sw::TextureLoader loader(palette, preferences);
    loader.setUploadEnabled(false);
    if (archiveEntries > 0)
        loader.setSources({(root / ("Res" + std::to_string(archiveEntries) + ".gob")).string()});
    const std::string model = (root / folder / "3do/model.3do").string();
    NoMessages messages;
    bool found = false;
    for (auto _ : state) {
        sw::Model loaded;
        loader.setDirectory((root / folder / "3do").string() + "/");
        if (!loaded.load(model) || !loaded.prepare(loader.function(), messages))
            state.SkipWithError("model not opened");
        found = !loaded.materials.back().notLoaded;
        benchmark::DoNotOptimize(loaded.materials.data());
    }
    if (found != (folder == "near" || archiveEntries > 0))
        state.SkipWithError("textures not where they were put");
}

void lookup(benchmark::State& state, int archiveEntries) {
    const sw::GobReadResult read = sw::readGobDirectory(
        (files().root / ("Res" + std::to_string(archiveEntries) + ".gob")).string());
    std::vector<std::string> names;
    for (int i = 0; i < kMaterials; ++i)
        names.push_back("3DO/MAT/" + textureName(i) + ".MAT");
    for (auto _ : state) {
        for (const std::string& name : names) {
            if (read.directory.find(name) == nullptr)
                state.SkipWithError("not found");
        }
    }
}

// Prints the ratios of the cases after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || run.run_type == Run::RT_Iteration)
                seconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("open, archive of 5000 / no source", "Open/archive_5000", "Open/no_source");
        ratio("open, archive of 5000 / textures beside the model", "Open/archive_5000",
              "Open/beside_model");
        ratio("open, archive of 50000 / archive of 500", "Open/archive_50000", "Open/archive_500");
        ratio("200 lookups in 50000 entries / in 500", "Lookup/50000", "Lookup/500");
    }

private:
    void ratio(const char* what, const char* over, const char* under) {
        const auto a = seconds_.find(over);
        const auto b = seconds_.find(under);
        if (a != seconds_.end() && b != seconds_.end() && b->second > 0)
            GetOutputStream() << what << ": " << a->second / b->second << "\n";
    }
    std::map<std::string, double> seconds_;
};

} // namespace

int main(int argc, char** argv) {
    const auto add = [](const char* name, const char* folder, int entries) {
        benchmark::RegisterBenchmark(
            name, [folder, entries](benchmark::State& state) { open(state, folder, entries); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    };
    add("Open/no_source", "far", 0);
    add("Open/beside_model", "near", 0);
    add("Open/archive_500", "far", 500);
    add("Open/archive_5000", "far", 5000);
    add("Open/archive_50000", "far", 50000);
    for (int entries : {500, 5000, 50000}) {
        benchmark::RegisterBenchmark(("Lookup/" + std::to_string(entries)).c_str(),
                                     [entries](benchmark::State& state) { lookup(state, entries); })
            ->Unit(benchmark::kMicrosecond);
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
