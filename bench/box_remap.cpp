// bench-links: sw_editor sw_platform
//
// The box remap of a 20,000-face group (a bulging barrel of 100 rings of 100 quads, each two
// triangles, on a 256 x 256 texture), against the planar remap from the front of the same
// group, which the user knows as instant, measured in the same run.

#include "PrepareStandIns.h"
#include "RatioReporter.h"

#include "editor/UvEditor.h"
#include "model/Model.h"
#include "platform/MessageBox.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

using namespace sw;

constexpr int kRings = 100;
constexpr int kSegments = 100;

using bench::NoMessages;

Model makeModel() {
    Model model;
    Material& material = model.materials.emplace_back();
    material.notLoaded = false;
    material.width = material.height = 256;
    Mesh& mesh = model.meshes.emplace_back();
    for (int ring = 0; ring <= kRings; ++ring) {
        const double z = static_cast<double>(ring) / kRings;
        const double radius = 0.4 + 0.15 * std::sin(std::numbers::pi * z);
        for (int k = 0; k < kSegments; ++k) {
            const double angle = 2 * std::numbers::pi * k / kSegments;
            mesh.vertices.push_back({radius * std::cos(angle), radius * std::sin(angle), z});
            mesh.glVerts.push_back({});
        }
    }
    GlGroup& group = mesh.glGroups.emplace_back();
    for (int ring = 0; ring < kRings; ++ring) {
        for (int k = 0; k < kSegments; ++k) {
            const int a = ring * kSegments + k;
            const int b = ring * kSegments + (k + 1) % kSegments;
            group.glFaces.push_back({{{a, 0}, {b, 0}, {b + kSegments, 0}}, 0});
            group.glFaces.push_back({{{a, 0}, {b + kSegments, 0}, {a + kSegments, 0}}, 0});
        }
    }
    return model;
}

void BM_PlanarRemap(benchmark::State& state) {
    Model model = makeModel();
    NoMessages messages;
    UvEditor editor(model, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.autoRemap(model, RemapDirection::Front, messages));
}
BENCHMARK(BM_PlanarRemap)->Unit(benchmark::kMillisecond);

void BM_BoxRemap(benchmark::State& state) {
    Model model = makeModel();
    NoMessages messages;
    UvEditor editor(model, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.boxRemap(model, messages));
}
BENCHMARK(BM_BoxRemap)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    sw::bench::RatioReporter reporter("BM_BoxRemap", "BM_PlanarRemap",
                                      "box remap / planar remap of the same 20,000 faces");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
