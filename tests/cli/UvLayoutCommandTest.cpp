#include "Cli.h"

#include "support/ModelText.h"
#include "support/TextureFiles.h"

#include <QLine>

#include <gtest/gtest.h>

#include <sstream>

namespace sw::test {
namespace {

constexpr QRgb kOutline = qRgb(255, 0, 255);

// One square face over the material paint.mat (tests/data/quad.3do) with the texture vertices
// given in texels, in the file's units. Its corners lie at x 0..1 and z 0..1, so a remap from
// the front fills the texture with it.
std::string quadModel(const std::vector<std::pair<double, double>>& txverts) {
    std::ostringstream lines;
    lines << "TEXTURE VERTICES 4\n";
    for (std::size_t i = 0; i < txverts.size(); ++i)
        lines << i << ": " << txverts[i].first << ' ' << txverts[i].second << '\n';
    return replaced(dataFile("quad.3do"), "TEXTURE VERTICES 4\n", lines.str());
}

// A texture file beside the model, of 6 x 4 texels each of its own colour: a 24-bit BMP
// (rows of 18 bytes padded to 20) or an 8-bit MAT of the built-in palette's entries 16 to 39.
struct Texture {
    std::string file;
    std::string bytes;
};

std::string counting(int first, int count, int step) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += static_cast<char>(first + step * i);
    return bytes;
}

using Corners = std::vector<std::pair<double, double>>;

// The outline of the rectangle from (left, top) to (right, bottom), its pixels included.
std::vector<QLine> frame(int left, int top, int right, int bottom) {
    return {{left, top, right, top},
            {right, top, right, bottom},
            {left, bottom, right, bottom},
            {left, top, left, bottom}};
}

// Whether a pixel lies on one of the horizontal or vertical lines.
bool onLines(const std::vector<QLine>& lines, int x, int y) {
    for (const QLine& line : lines) {
        if (std::min(line.x1(), line.x2()) <= x && x <= std::max(line.x1(), line.x2()) &&
            std::min(line.y1(), line.y2()) <= y && y <= std::max(line.y1(), line.y2()))
            return true;
    }
    return false;
}

// Each row runs twice: the template alone, whose only opaque pixels are the outline, and with
// --underlay, which puts the texture, scaled to the image, under the same outline.
TEST(UvLayoutCommand, OutlinesLieOverTheTexelsTheirCornersAddressOnTheTexture) {
    const Texture bmp{"bmp/paint.BMP", bmpFile(6, 4, 24, counting(1, 80, 3))};
    const Texture mat{"mat/paint.MAT", matTexture(6, 4, 8, counting(16, 24, 1))};
    const Texture none;
    // The corners address texels by GL's rule: u / 6 texture widths is column floor(u), and
    // -v / 4 texture heights is row floor(-v) counted up from the texture's first row, which
    // the texture view shows at the bottom. So these are columns 1 to 4 and the rows 3 and 1
    // from the top: an outline one texel short of the top edge.
    const Corners inside{{1.5, -0.5}, {4.5, -0.5}, {4.5, -2.5}, {1.5, -2.5}};
    const Corners farOut{{-1e300, -2}, {1e300, -2}, {1e300, -3.5}, {-1e300, -3.5}};
    const Corners leftOut{{-3, -0.5}, {3.5, -0.5}, {3.5, -2.5}, {-3, -2.5}};
    const std::vector<std::string> noOptions;
    const struct {
        const Texture& texture;
        const Corners& corners;
        std::vector<std::string> options;
        QSize size;
        std::vector<QLine> outline;
    } rows[] = {
        {bmp, inside, noOptions, {6, 4}, frame(1, 1, 4, 3)},
        {mat, inside, noOptions, {6, 4}, frame(1, 1, 4, 3)},
        // Each texel 2 x 2 pixels, the corners on their texels' upper right pixels.
        {bmp, inside, {"--size", "12x8"}, {12, 8}, frame(3, 2, 9, 6)},
        // Remapped to fill the texture: the sides on the image's edges.
        {mat, inside, {"--direction", "front"}, {6, 4}, frame(0, 0, 5, 3)},
        // Reaching out to the left: cut at the edge.
        {bmp, leftOut, noOptions, {6, 4}, {{0, 1, 3, 1}, {3, 1, 3, 3}, {0, 3, 3, 3}}},
        // Corners far out on both sides: the long sides cross the whole image.
        {bmp, farOut, noOptions, {6, 4}, {{0, 1, 5, 1}, {0, 0, 5, 0}}},
        // No texture: 512 x 512, the corners scaled by their largest u and lowest v.
        {none, inside, noOptions, {512, 512}, frame(170, 0, 511, 409)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        TempDir dir;
        const std::string model = dir.write("quad.3do", quadModel(row.corners));
        // The texture as the texture command shows it, upright.
        QImage texture;
        if (!row.texture.file.empty()) {
            const std::string png = (dir.path() / "texture.png").string();
            ASSERT_EQ(
                cli({"texture", dir.write(row.texture.file, row.texture.bytes), png}).exitCode, 0);
            texture = image(png);
        }
        for (const bool underlay : {false, true}) {
            SCOPED_TRACE(underlay ? "with underlay" : "alone");
            const std::string out = (dir.path() / "template.png").string();
            std::vector<std::string> arguments{"uvlayout", model,     out, "--mesh",
                                               "0",        "--group", "0"};
            arguments.insert(arguments.end(), row.options.begin(), row.options.end());
            if (underlay)
                arguments.push_back("--underlay");
            const auto result = cli(arguments);
            ASSERT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.err, underlay && texture.isNull()
                                      ? "Group 0 of mesh 0 has no texture: the outlines are "
                                        "drawn on a transparent ground.\n"
                                      : "");

            const QImage image = test::image(out).convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(image.size(), row.size);
            int wrong = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    QRgb expected = qRgba(0, 0, 0, 0);
                    if (onLines(row.outline, x, y))
                        expected = kOutline;
                    else if (underlay && !texture.isNull())
                        expected =
                            texture.pixel(x * 6 / row.size.width(), y * 4 / row.size.height());
                    const QRgb pixel = image.pixel(x, y);
                    // Transparent pixels match whatever colour they keep.
                    if (pixel != expected && (qAlpha(expected) != 0 || qAlpha(pixel) != 0) &&
                        ++wrong <= 3)
                        ADD_FAILURE() << "pixel " << x << ", " << y << " is " << std::hex << pixel
                                      << ", not " << expected;
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

} // namespace
} // namespace sw::test
