#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

namespace sw {
namespace {

const std::string kSample = std::string(SW_SAMPLES_DIR) + "/totem.3do";

test::ProgramResult render(const std::vector<std::string>& arguments) {
    std::vector<std::string> all{"render"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return test::runProgram(SW_CLI_PATH, all);
}

bool isBlack(QRgb pixel) {
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

TEST(RenderCommand, DrawsTheSampleTexturedInTheMiddleOfTheImage) {
    test::TempDir dir;
    const std::string front = (dir.path() / "front.png").string();
    const auto result = render({kSample, front, "--size", "120x90"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QImage image(QString::fromStdString(front));
    ASSERT_EQ(image.size(), QSize(120, 90));
    // The model fills the middle; the corners are the black background.
    EXPECT_FALSE(isBlack(image.pixel(60, 45)));
    EXPECT_TRUE(isBlack(image.pixel(0, 0)));
    EXPECT_TRUE(isBlack(image.pixel(119, 89)));
    // Textured: the column in the middle is not of one flat colour.
    QList<QRgb> colours;
    for (int y = 30; y < 60; ++y)
        if (!colours.contains(image.pixel(60, y)))
            colours.append(image.pixel(60, y));
    EXPECT_GT(colours.size(), 3);

    // Turning and zooming change the picture; zooming out leaves more background.
    const std::string turned = (dir.path() / "turned.png").string();
    ASSERT_EQ(
        render({kSample, turned, "--size", "120x90", "--yaw", "45", "--pitch", "30"}).exitCode, 0);
    EXPECT_NE(QImage(QString::fromStdString(turned)), image);
    const std::string far = (dir.path() / "far.png").string();
    ASSERT_EQ(render({kSample, far, "--size", "120x90", "--zoom", "-60"}).exitCode, 0);
    const auto blackPixels = [](const QImage& picture) {
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                count += isBlack(picture.pixel(x, y)) ? 1 : 0;
        return count;
    };
    EXPECT_GT(blackPixels(QImage(QString::fromStdString(far))), blackPixels(image));
}

TEST(RenderCommand, RefusesBadArgumentsAndModels) {
    test::TempDir dir;
    const std::string out = (dir.path() / "out.png").string();
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{kSample},
                                               {kSample, out, "--size", "0x10"},
                                               {kSample, out, "--size", "100"},
                                               {kSample, out, "--size", "99999x2"},
                                               {kSample, out, "--yaw", "left"},
                                               {kSample, out, "--zoom", "1.5"}}) {
        EXPECT_EQ(render(arguments).exitCode, 2);
    }
    const auto broken = render({dir.write("bad.3do", "SECTION: HEADER"), out});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.err, "Error loading file.\n");
}

} // namespace
} // namespace sw
