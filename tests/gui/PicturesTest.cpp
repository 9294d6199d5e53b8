#include "support/Desktop.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace sw::test {
namespace {

// Where the pictures go: the README's folder when scripts/make-pictures.sh asks for them,
// beside the test program otherwise.
QString picturesDir() {
    const char* dir = std::getenv("SW_PICTURES_DIR");
    return dir != nullptr ? QString(dir) : QString(SW_GUI_OUTPUT_DIR);
}

// The screen around the program's two windows.
QImage editorPicture(const RealProgram& program) {
    const ScreenArea& main = program.main();
    const ScreenArea& panel = program.panel();
    const int left = std::min(main.x, panel.x);
    const int top = std::min(main.y, panel.y);
    return grabScreen().copy(left, top, main.x + main.width - left,
                             std::max(main.y + main.height, panel.y + panel.height) - top);
}

int countNear(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += std::abs(qRed(p) - qRed(colour)) < 40 &&
                     std::abs(qGreen(p) - qGreen(colour)) < 40 &&
                     std::abs(qBlue(p) - qBlue(colour)) < 40;
        }
    return count;
}

// The pictures of the README, taken from the real program as a user drives it (which ends with
// exit code 0 when its main window closes): the editor on the totem, then the texture view of the
// lantern's sides remapped from the front, some of their vertices selected by a rectangle.
TEST(Pictures, TheEditorAndItsTextureViewWithASelection) {
    const QString samples = SW_SAMPLES_DIR;
    {
        RealProgram program;
        ASSERT_TRUE(program.start({samples + "/totem.3do"}, "Skinweaver 1.1 - totem.3do"))
            << "no X display with XTEST";
        ASSERT_TRUE(program.findView());
        // Opened from the command line as a file manager opens it: drawn, textured, mid-view.
        const QPoint middle = program.view().center();
        QImage screen;
        EXPECT_TRUE(waitFor([&] {
            screen = grabScreen();
            return !isBlack(screen.pixel(middle));
        }));
        // Nothing black in the square of side 11 around the middle, and some colour in it
        // rather than white or a grey.
        bool coloured = false;
        for (int y = middle.y() - 5; y <= middle.y() + 5; ++y)
            for (int x = middle.x() - 5; x <= middle.x() + 5; ++x) {
                const QRgb pixel = screen.pixel(x, y);
                EXPECT_FALSE(isBlack(pixel)) << x << ", " << y;
                const auto [low, high] = std::minmax({qRed(pixel), qGreen(pixel), qBlue(pixel)});
                coloured = coloured || high - low > 40;
            }
        EXPECT_TRUE(coloured);
        program.clickInPanel(RealProgram::kFirstMesh + QPoint(0, 16)); // the mesh "pole"
        program.clickInPanel(RealProgram::kFirstTexture); // its wood, tinted in the view
        // "M", then the pointer over the view turns the model a degree a move.
        const ScreenArea& main = program.main();
        const QPoint mouseMode(main.x + 18, main.y + main.height - 17);
        program.input().click(mouseMode.x(), mouseMode.y());
        for (int step = 0; step < 30; ++step)
            program.input().moveTo(middle.x() + step * 3, middle.y());
        for (int step = 1; step <= 20; ++step)
            program.input().moveTo(middle.x() + 87, middle.y() - step * 3);
        program.input().click(mouseMode.x(), mouseMode.y());
        EXPECT_TRUE(editorPicture(program).save(picturesDir() + "/editor.png"));
        ASSERT_TRUE(program.close("Skinweaver 1.1 - totem.3do"));
    }
    RealProgram program;
    ASSERT_TRUE(program.start({samples + "/lantern.3do"}, "Skinweaver 1.1 - lantern.3do"));
    ASSERT_TRUE(program.findView());
    program.clickInPanel(RealProgram::kFirstTexture); // the lantern's wood sides
    program.clickInPanel(RealProgram::kFront);
    program.clickInPanel(RealProgram::kEdit);
    program.drag(0.05, 0.7, 0.55, 0.3);
    program.input().moveTo(program.main().x + program.main().width + 20, program.main().y);
    const QImage picture = editorPicture(program);
    EXPECT_TRUE(picture.save(picturesDir() + "/texture-view.png"));
    // In the view, the middle ring's left vertices selected (green) and the others not (red).
    const QRect view = program.view().translated(-std::min(program.main().x, program.panel().x),
                                                 -std::min(program.main().y, program.panel().y));
    EXPECT_GT(countNear(picture, view, qRgb(0, 255, 0)), 2 * 9);
    EXPECT_GT(countNear(picture, view, qRgb(255, 0, 0)), 2 * 9);
    ASSERT_TRUE(program.close("Skinweaver 1.1 - lantern.3do"));
}

} // namespace
} // namespace sw::test
