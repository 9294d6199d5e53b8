// bench-links: sw_editor sw_render sw_platform
//
// One frame of the texture view of a 20,000-face group at 800 x 600 on the headless GL
// context, against one frame of the 3D model view of the same faces, measured in the same
// run. Each frame ends with glFinish so that the time includes the rasterisation.

#include "RatioReporter.h"

#include "editor/UvEditor.h"
#include "model/Model.h"
#include "platform/HeadlessGl.h"
#include "render/GlFrame.h"
#include "render/ModelView.h"
#include "render/ViewState.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

using namespace sw;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kCells = 100; // a 100 x 100 grid of quads, two triangles each
constexpr int kTextureSize = 64;

// A wavy sheet facing the viewer as one textured group whose texture coordinates span the
// texture once, with every fifth texture vertex selected.
Model makeModel(GLuint texture) {
    Model model;
    Material material;
    material.notLoaded = false;
    material.width = kTextureSize;
    material.height = kTextureSize;
    material.glTexture = texture;
    model.materials.push_back(material);
    Mesh mesh;
    mesh.displayMode = 2;
    const int side = kCells + 1;
    for (int j = 0; j < side; ++j) {
        for (int i = 0; i < side; ++i) {
            const double x = 1.0 - 2.0 * i / kCells;
            const double z = -1.0 + 2.0 * j / kCells;
            mesh.glVerts.push_back({x, 0.05 * std::sin(6 * x) * std::cos(5 * z), z});
            GlTxvert t{static_cast<double>(i) / kCells, static_cast<double>(j) / kCells};
            t.selected = (j * side + i) % 5 == 0;
            mesh.glTxverts.push_back(t);
        }
    }
    GlGroup& group = mesh.glGroups.emplace_back();
    for (int j = 0; j < kCells; ++j) {
        for (int i = 0; i < kCells; ++i) {
            const int a = j * side + i;
            const int b = a + 1;
            const int c = a + side + 1;
            const int d = a + side;
            group.glFaces.push_back({{{a, a}, {b, b}, {c, c}}, 0});
            group.glFaces.push_back({{{a, a}, {c, c}, {d, d}}, 0});
        }
    }
    model.meshes.push_back(std::move(mesh));
    model.extent = std::sqrt(2.0);
    return model;
}

GLuint makeTexture() {
    GLuint name = 0;
    glGenTextures(1, &name);
    std::vector<std::uint8_t> texels(kTextureSize * kTextureSize * 3);
    for (std::size_t p = 0; p < texels.size(); ++p)
        texels[p] = static_cast<std::uint8_t>((p * 7) % 251);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kTextureSize, kTextureSize, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 texels.data());
    return name;
}

} // namespace

int main(int argc, char** argv) {
    auto gl = HeadlessGl::create(kWidth, kHeight);
    if (!gl) {
        std::fprintf(stderr, "no headless GL context\n");
        return 1;
    }
    initGlState();
    const GLuint texture = makeTexture();
    const Model model = makeModel(texture);
    ViewState view;
    view.modelScale = 1000 / model.extent;
    view.yaw = 20;
    view.pitch = 15;
    UvEditor editor(model, 0, 0);

    // Each frame as the program draws it in that view, its projection set first.
    benchmark::RegisterBenchmark("ModelView/textured",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         setupProjection(kWidth, kHeight, true);
                                         beginFrame();
                                         applyCamera(view);
                                         drawModelView(model, view);
                                         glFinish();
                                     }
                                     bench::countFrames(state, 2.0 * kCells * kCells);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    // The texture view as it stands, and with what changes at each pointer move of a
    // rectangle's drag or of a pan with the middle button.
    const ViewArea area{kWidth, kHeight};
    const auto textureView = [&](const char* name, auto&& step) {
        benchmark::RegisterBenchmark(name,
                                     [&, step](benchmark::State& state) {
                                         editor.followVertices();
                                         editor.beginRect(0.2, 0.2);
                                         editor.rectActive = false;
                                         int move = 0;
                                         for (auto _ : state) {
                                             step(move++);
                                             beginFrame();
                                             const ViewMapping view = editor.mapping(model, area);
                                             editor.setProjection(view);
                                             editor.draw(model, view);
                                             glFinish();
                                         }
                                         bench::countFrames(state, 2.0 * kCells * kCells);
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    };
    textureView("TextureView/one_group", [](int) {});
    textureView("TextureView/rectangle_drag", [&](int move) {
        editor.rectActive = true;
        const double step = move % 100 < 50 ? 0.005 : -0.005;
        editor.dragRect(step, step);
    });
    textureView("TextureView/pan",
                [&](int move) { editor.panBy(model, area, move % 100 < 50 ? 2 : -2, 1); });

    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter(
        {"TextureView/one_group", "TextureView/rectangle_drag", "TextureView/pan"},
        "ModelView/textured", "texture view frame time / model view frame time");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    glDeleteTextures(1, &texture);
    return 0;
}
