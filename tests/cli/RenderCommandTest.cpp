#include "Cli.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

bool black(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0;
}

int blackPixels(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += black(picture.pixel(x, y)) ? 1 : 0;
    return count;
}

TEST(RenderCommand, DrawsTheSampleTexturedInTheMiddleOfTheImage) {
    TempDir dir;
    const auto render = [&](const std::string& name, std::vector<std::string> options) {
        const std::string out = (dir.path() / name).string();
        std::vector<std::string> arguments{"render", kSample, out, "--size", "120x90"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto result = cli(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return image(out);
    };
    const QImage front = render("front.png", {});
    ASSERT_EQ(front.size(), QSize(120, 90));
    // The model fills the middle; the corners are the black background.
    EXPECT_FALSE(black(front.pixel(60, 45)));
    EXPECT_TRUE(black(front.pixel(0, 0)));
    EXPECT_TRUE(black(front.pixel(119, 89)));
    // Textured: the column in the middle is not of one flat colour.
    QList<QRgb> colours;
    for (int y = 30; y < 60; ++y)
        if (!colours.contains(front.pixel(60, y)))
            colours.append(front.pixel(60, y));
    EXPECT_GT(colours.size(), 3);

    // Turning and zooming change the picture; zooming out leaves more background.
    EXPECT_NE(render("turned.png", {"--yaw", "45", "--pitch", "30"}), front);
    EXPECT_GT(blackPixels(render("far.png", {"--zoom", "-60"})), blackPixels(front));

    const auto broken = cli({"render", dir.write("bad.3do", "SECTION: HEADER"), "out.png"});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.err, "Error loading file.\n");
}

} // namespace
} // namespace sw::test
