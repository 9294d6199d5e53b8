// bench-links: sw_render sw_platform
//
// Frames per second of the 3D model view for a 20,000-face textured model at 800 x 600 on the
// headless GL context, against the same triangles drawn untextured in one colour as one plain
// immediate-mode batch, measured in the same run. Each frame ends with glFinish so that the
// time includes the rasterisation.

#include "RatioReporter.h"

#include "model/Model.h"
#include "platform/HeadlessGl.h"
#include "render/GlFrame.h"
#include "render/ModelView.h"
#include "render/ViewState.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace sw;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kCells = 100;   // a 100 x 100 grid of quads, two triangles each
constexpr int kMaterials = 4; // one per quarter of the grid
constexpr int kTextureSize = 64;

// A wavy sheet facing the viewer, split into four material groups, with texture coordinates
// that repeat each texture twice across the sheet.
Model makeModel(const std::vector<GLuint>& textures) {
    Model model;
    for (GLuint texture : textures) {
        Material material;
        material.notLoaded = false;
        material.width = kTextureSize;
        material.height = kTextureSize;
        material.glTexture = texture;
        model.materials.push_back(material);
    }
    Mesh mesh;
    mesh.displayMode = 2;
    const int side = kCells + 1;
    for (int j = 0; j < side; ++j) {
        for (int i = 0; i < side; ++i) {
            const double x = 1.0 - 2.0 * i / kCells; // model +x is on the viewer's left
            const double z = -1.0 + 2.0 * j / kCells;
            const double y = 0.05 * std::sin(6 * x) * std::cos(5 * z);
            mesh.glVerts.push_back({x, y, z});
            mesh.glTxverts.push_back({2.0 * i / kCells, 2.0 * j / kCells});
        }
    }
    mesh.glGroups.resize(kMaterials);
    for (int g = 0; g < kMaterials; ++g)
        mesh.glGroups[static_cast<std::size_t>(g)].material = g;
    for (int j = 0; j < kCells; ++j) {
        for (int i = 0; i < kCells; ++i) {
            const int a = j * side + i;
            const int b = a + 1;
            const int c = a + side + 1;
            const int d = a + side;
            const int group = (j < kCells / 2 ? 0 : 2) + (i < kCells / 2 ? 0 : 1);
            auto& faces = mesh.glGroups[static_cast<std::size_t>(group)].glFaces;
            faces.push_back({{{a, a}, {b, b}, {c, c}}, 0});
            faces.push_back({{{a, a}, {c, c}, {d, d}}, 0});
        }
    }
    model.meshes.push_back(std::move(mesh));
    double extent = 0;
    for (const GlVert& v : model.meshes[0].glVerts)
        extent = std::max(extent, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
    model.extent = extent;
    return model;
}

std::vector<GLuint> makeTextures() {
    std::vector<GLuint> names(kMaterials);
    glGenTextures(kMaterials, names.data());
    std::vector<std::uint8_t> texels(kTextureSize * kTextureSize * 3);
    for (int m = 0; m < kMaterials; ++m) {
        for (std::size_t p = 0; p < texels.size(); ++p)
            texels[p] = static_cast<std::uint8_t>((p * (m + 3)) % 251);
        glBindTexture(GL_TEXTURE_2D, names[static_cast<std::size_t>(m)]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kTextureSize, kTextureSize, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, texels.data());
    }
    return names;
}

ViewState fittedView(const Model& model) {
    ViewState view;
    view.modelScale = 1000 / model.extent;
    view.yaw = 20;
    view.pitch = 15;
    return view;
}

// The baseline: the same triangles under the same camera and fixed state, one colour, no
// texture coordinates, all in one glBegin/glEnd.
void drawPlain(const Model& model, const ViewState& view) {
    glPushMatrix();
    glRotated(view.pitch, -1.0, 0.0, 0.0);
    glRotated(view.yaw, 0.0, -1.0, 0.0);
    const double scale = view.modelScale * view.zoomFactor;
    glScaled(scale, scale, scale);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColor3d(1, 1, 1);
    glBegin(GL_TRIANGLES);
    for (const Mesh& mesh : model.meshes)
        for (const GlGroup& group : mesh.glGroups)
            for (const GlFace& face : group.glFaces)
                for (const VertexRef& ref : face.refs) {
                    const GlVert& v = mesh.glVerts[static_cast<std::size_t>(ref.vertex)];
                    glVertex3d(v.x, v.z, -v.y);
                }
    glEnd();
    glPopMatrix();
}

template <typename Draw>
void runFrames(benchmark::State& state, const Model& model, const ViewState& view, Draw draw) {
    for (auto _ : state) {
        beginFrame();
        applyCamera(view);
        draw(model, view);
        glFinish();
    }
    bench::countFrames(state, 2.0 * kCells * kCells);
}

} // namespace

int main(int argc, char** argv) {
    auto gl = HeadlessGl::create(kWidth, kHeight);
    if (!gl) {
        std::fprintf(stderr, "no headless GL context\n");
        return 1;
    }
    initGlState();
    setupProjection(kWidth, kHeight, true);
    const std::vector<GLuint> textures = makeTextures();
    const Model model = makeModel(textures);
    const ViewState view = fittedView(model);

    benchmark::RegisterBenchmark(
        "ModelView/textured",
        [&](benchmark::State& state) { runFrames(state, model, view, drawModelView); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "Baseline/plain_immediate",
        [&](benchmark::State& state) { runFrames(state, model, view, drawPlain); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter("ModelView/textured", "Baseline/plain_immediate",
                                  "model view frame time / baseline frame time");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    glDeleteTextures(kMaterials, textures.data());
    return 0;
}
