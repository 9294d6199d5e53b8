// bench-links: sw_app
//
// What undo and the kept unsaved changes cost where a user could feel it. An automatic remap
// of a 20,000-face group is the baseline; the same remap recorded as an undo step (the group
// copied before, compared after), and an undo of it, are measured against it in the same run.
// Unsaved changes are kept by copying the model on the editor's thread and saving the copy on
// another: both are measured, on a model as large as the game takes and on a 50 MB one.

#include "GeneratedModel.h"
#include "PrepareStandIns.h"
#include "RatioReporter.h"

#include "editor/GroupStep.h"
#include "editor/UndoHistory.h"
#include "editor/UvEditor.h"
#include "model/Model.h"
#include "platform/MessageBox.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace {

using namespace sw;

using bench::loaded64;
using bench::NoMessages;

// One mesh of 40,000 faces in runs of seven of each material: two groups of 20,000 faces.
Model& groupModel() {
    static Model model = [] {
        Model loaded;
        NoMessages messages;
        std::istringstream text(bench::generatedModelText(1, 40000));
        if (!loaded.load(text) || !loaded.prepare(loaded64, messages))
            std::abort();
        return loaded;
    }();
    return model;
}

void BM_Remap(benchmark::State& state) {
    Model& model = groupModel();
    NoMessages messages;
    UvEditor editor(model, 0, 0);
    for (auto _ : state)
        editor.autoRemap(model, RemapDirection::Front, messages);
    state.counters["faces"] = model.meshes[0].glGroups[0].numGlFaces();
}

void BM_RemapAsStep(benchmark::State& state) {
    Model& model = groupModel();
    NoMessages messages;
    UvEditor editor(model, 0, 0);
    UndoHistory history;
    for (auto _ : state) {
        auto step = GroupStep::record(model, 0, 0);
        editor.autoRemap(model, RemapDirection::Front, messages);
        benchmark::DoNotOptimize(step->matches(model));
        history.push(std::move(step));
    }
    state.counters["stepBytes"] = static_cast<double>(history.bytes() / history.size());
    state.counters["stepsKept"] = static_cast<double>(history.size());
}

void BM_Undo(benchmark::State& state) {
    Model& model = groupModel();
    UndoHistory history;
    history.push(GroupStep::record(model, 0, 1));
    for (auto _ : state)
        history.canUndo() ? history.undo(model) : history.redo(model);
}

// A model as large as the game takes (20 meshes of 512 faces, the most a mesh may have), and
// the 50 MB generated model of 64 meshes of 3000 faces, each saved to a file of its own.
struct KeptModel {
    KeptModel(int meshes, int faces) {
        NoMessages messages;
        std::istringstream text(bench::generatedModelText(meshes, faces));
        if (!model.load(text) || !model.prepare(loaded64, messages))
            std::abort();
        path = (std::filesystem::temp_directory_path() /
                ("skinweaver-bench-kept-" + std::to_string(meshes) + ".3do"))
                   .string();
    }
    ~KeptModel() { std::filesystem::remove(path); }
    Model model;
    std::string path;
};

KeptModel& keptModel(const benchmark::State& state) {
    static KeptModel game(20, 512);
    static KeptModel large(64, 3000);
    return state.range(0) == 0 ? game : large;
}

// The part of keeping the changes that the editor waits for.
void BM_KeepCopy(benchmark::State& state) {
    const Model& model = keptModel(state).model;
    for (auto _ : state) {
        auto copy = std::make_unique<Model>(model);
        benchmark::DoNotOptimize(copy.get());
        state.PauseTiming(); // its release happens on the writing thread
        copy.reset();
        state.ResumeTiming();
    }
}

// The part that runs beside the editor.
void BM_KeepWrite(benchmark::State& state) {
    KeptModel& kept = keptModel(state);
    for (auto _ : state)
        kept.model.save(kept.path);
}

BENCHMARK(BM_Remap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemapAsStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond);
// Argument 0: the game-sized model; 1: the 50 MB one.
BENCHMARK(BM_KeepCopy)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->Iterations(5);
BENCHMARK(BM_KeepWrite)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    sw::bench::RatioReporter reporter("BM_RemapAsStep", "BM_Remap",
                                      "a remap as an undo step / the remap alone");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
