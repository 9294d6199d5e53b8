// The real program, driven by mouse and keyboard events on the display as a user drives it.

#include "editor/UvEditor.h"
#include "model/Model.h"
#include "support/Desktop.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace sw::test {
namespace {

// What the editor saves after the steps of a test: remapped from the front, then, when asked,
// the two inner vertices of the second row selected by the rectangle (0.25, 0.25) to
// (0.75, 0.5) and both axes scaled by 0.5.
std::string expectedFile(const std::string& path, bool scaled = true) {
    Model model;
    FakeMessageBox boxes;
    // grid.mat is nowhere, so the program leaves the material untextured as this does.
    if (!model.load(path) || !model.prepare([](Material&, const std::string&) {}, boxes))
        return {};
    UvEditor editor(model, 0, 0);
    editor.autoRemap(model, RemapDirection::Front, boxes);
    if (scaled) {
        editor.beginRect(0.25, 0.25);
        editor.dragRect(0.5, 0.25);
        editor.endRect(model);
        editor.scaleU(model, 0.5);
        editor.scaleV(model, 0.5);
    }
    return model.outputText();
}

// A folder of its own with the grid model in it: a flat 4 x 4 grid of vertices facing front,
// nine quads of one untextured material. Remapped from the front, its texture vertices lie at
// thirds of the texture, four of them inside. Without capitals, so that its path can be typed
// without Shift.
QString gridFolder(const char* name) {
    const QString folder =
        QDir::temp().filePath(QString("skinweaver-%1-%2").arg(name).arg(getpid()));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    std::ofstream out(QFile::encodeName(folder + "/grid.3do").toStdString(), std::ios::binary);
    out << dataFile("grid.3do");
    return folder;
}

// The real program, driven by mouse and keyboard events on the display as a user drives it:
// open a model, choose its mesh and texture, remap from the front, edit, drag a rectangle,
// scale by 0.5, return, and save it under another name.
TEST(EndToEnd, AModderRemapsScalesAndSavesAGroup) {
    const QString folder = gridFolder("e2e");
    const QString model = folder + "/grid.3do";
    const QString saved = folder + "/remapped.3do";
    RealProgram program;
    ASSERT_TRUE(program.start({}, "Skinweaver 1.1")) << "no X display with XTEST";
    EXPECT_TRUE(grabScreen().save(QString(SW_GUI_OUTPUT_DIR) + "/skinweaver.png"));

    program.fileMenu('o');
    ASSERT_TRUE(program.typeInto("Open", QFile::encodeName(model).toStdString(), false));
    ASSERT_TRUE(program.waitForWindow("Skinweaver 1.1 - grid.3do"));
    ASSERT_TRUE(program.findView());

    program.clickInPanel(RealProgram::kFirstMesh);
    program.clickInPanel(RealProgram::kFirstTexture);
    program.clickInPanel(RealProgram::kFront);
    program.clickInPanel(RealProgram::kEdit);
    program.drag(0.25, 0.25, 0.75, 0.5);
    program.clickInPanel(RealProgram::kFactor);
    program.input().type("0.5");
    program.clickInPanel(RealProgram::kScale);
    program.clickInPanel(RealProgram::kEdit); // "return"

    // "Save &as..." with the open file's name; a new one typed over it.
    program.fileMenu('a');
    ASSERT_TRUE(program.typeInto("Save As", QFile::encodeName(saved).toStdString(), true));
    // The grid's texture is nowhere: Enter answers Yes to saving it in fractions all the same.
    ASSERT_TRUE(program.waitForWindow("Skinweaver 1.1"));
    program.input().key(0xff0d);
    ASSERT_TRUE(program.waitForWindow("Skinweaver 1.1 - remapped.3do"));
    ASSERT_TRUE(program.close("Skinweaver 1.1 - remapped.3do"));

    const std::string expected = expectedFile(QFile::encodeName(model).toStdString());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(readFile(QFile::encodeName(saved).toStdString()), expected);
    // The two selected vertices, scaled about their middle: u 1/3 and 2/3 became 5/12 and 7/12.
    EXPECT_NE(expected.find(": 0.416667 -0.333333\r\n"), std::string::npos);
    EXPECT_NE(expected.find(": 0.583333 -0.333333\r\n"), std::string::npos);
    QDir(folder).removeRecursively();
}

// Nothing is lost: Ctrl+Z and Ctrl+Y take a remap back and forth (each save writes what the
// plain save or the remap wrote), and the changes of a program killed after an edit come back
// when it starts again on the file.
TEST(EndToEnd, UndoRedoAndTheChangesOfAKilledProgram) {
    TempDir folder;
    std::filesystem::copy(SW_SAMPLES_DIR, folder.path(), std::filesystem::copy_options::recursive);
    const std::string model = (folder.path() / "lantern.3do").string();
    const QString title = "Skinweaver 1.1 - lantern.3do";
    RealProgram program;
    ASSERT_TRUE(program.start({QFile::decodeName(model.c_str())}, title.toStdString()))
        << "no X display with XTEST";
    const auto save = [&](const char* expected) {
        program.fileMenu('s');
        EXPECT_TRUE(program.mainTitled(title.toStdString())) << expected;
        return readFile(model);
    };
    const auto edited = [&] { return program.mainTitled((title + "*").toStdString()); };
    const std::string plain = save("plain");
    program.clickInPanel(RealProgram::kFirstTexture);
    program.clickInPanel(RealProgram::kFront);
    ASSERT_TRUE(edited());
    const std::string remapped = save("remapped");
    EXPECT_NE(remapped, plain);
    program.input().key('z', true);
    ASSERT_TRUE(edited());
    EXPECT_EQ(save("undone"), plain);
    program.input().key('y', true);
    ASSERT_TRUE(edited());
    EXPECT_EQ(save("redone"), remapped);

    // The kept changes reach the disk within a second or so; then the program dies.
    program.input().key('z', true);
    ASSERT_TRUE(edited());
    const QString kept = qEnvironmentVariable("XDG_DATA_HOME") + "/Skinweaver/recovery";
    const auto keptFiles = [&] { return QDir(kept).entryList({"*.3do"}, QDir::Files); };
    EXPECT_TRUE(waitFor([&] { return !keptFiles().isEmpty(); }, 5000));
    program.kill();

    RealProgram again;
    ASSERT_TRUE(again.start({QFile::decodeName(model.c_str())}, "Skinweaver 1.1"));
    // The offer, over the main window: Enter answers Yes.
    again.input().moveTo(again.main().x + again.main().width / 2,
                         again.main().y + again.main().height / 2);
    again.input().key(0xff0d);
    ASSERT_TRUE(again.mainTitled((title + "*").toStdString()));
    again.fileMenu('s');
    ASSERT_TRUE(again.mainTitled(title.toStdString()));
    EXPECT_EQ(readFile(model), plain);
    EXPECT_TRUE(keptFiles().isEmpty()); // saved: nothing kept
    ASSERT_TRUE(again.close(title.toStdString()));
}

bool isRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60;
}
bool isGreen(QRgb pixel) {
    return qGreen(pixel) > 200 && qRed(pixel) < 60;
}

// The texture view under the hand, on the grid remapped from the front: a click 2 pixels off
// a vertex picks it; the wheel zooms and Home fits the view again; CTRL held over the view
// moves the selection ("all" in the control panel) as far in ten steps of 3 pixels as in one
// of 30.
TEST(EndToEnd, TheTextureViewFollowsTheHand) {
    const QString folder = gridFolder("hand");
    const std::string model = QFile::encodeName(folder + "/grid.3do").toStdString();
    RealProgram program;
    ASSERT_TRUE(program.start({folder + "/grid.3do"}, "Skinweaver 1.1 - grid.3do"))
        << "no X display with XTEST";
    ASSERT_TRUE(program.findView());
    X11& input = program.input();
    program.clickInPanel(RealProgram::kFirstMesh);
    program.clickInPanel(RealProgram::kFirstTexture);
    program.clickInPanel(RealProgram::kFront);
    program.clickInPanel(RealProgram::kEdit);

    const QPoint vertex = program.viewPoint(1.0 / 3, 1.0 / 3);
    const auto off = static_cast<int>(std::lround(2 * program.scale()));
    ASSERT_TRUE(waitFor([&] { return isRed(grabScreen().pixel(vertex)); }));
    input.click(vertex.x() + off, vertex.y() - off);
    EXPECT_TRUE(waitFor([&] { return isGreen(grabScreen().pixel(vertex)); }));
    input.click(vertex.x() + off, vertex.y() - off);
    EXPECT_TRUE(waitFor([&] { return isRed(grabScreen().pixel(vertex)); }));

    const auto shown = [&] { return grabScreen().copy(program.view()); };
    const QImage fitted = shown();
    input.wheel(3);
    EXPECT_TRUE(waitFor([&] { return shown() != fitted; }));
    input.key(X11::kHomeKey);
    EXPECT_TRUE(waitFor([&] { return shown() == fitted; }));

    // Each CTRL-drag saved under a name of its own, the first undone before the second.
    program.clickInPanel(RealProgram::kSelectAll);
    const auto ctrlDrag = [&](int steps, int step, const char* name) {
        input.moveTo(vertex.x(), vertex.y());
        input.hold(X11::kControlKey, true);
        for (int i = 1; i <= steps; ++i)
            input.moveTo(vertex.x() + i * step, vertex.y());
        input.hold(X11::kControlKey, false);
        program.fileMenu('a');
        EXPECT_TRUE(program.typeInto("Save As",
                                     QFile::encodeName(folder).toStdString() + "/" + name, true));
        // The grid's texture is nowhere: Enter answers Yes to saving it in fractions.
        EXPECT_TRUE(program.waitForWindow("Skinweaver 1.1"));
        input.key(0xff0d);
        EXPECT_TRUE(program.waitForWindow(std::string("Skinweaver 1.1 - ") + name));
        return readFile(QFile::encodeName(folder).toStdString() + "/" + name);
    };
    const std::string small = ctrlDrag(10, 3, "small.3do");
    input.click(program.view().x() + 3, program.view().y() + 3); // on nothing: the main
    input.key('z', true);                                        // window is active again
    ASSERT_TRUE(program.waitForWindow("Skinweaver 1.1 - small.3do*"));
    EXPECT_EQ(ctrlDrag(1, 30, "large.3do"), small);
    EXPECT_NE(small, expectedFile(model, false));
    ASSERT_TRUE(program.close("Skinweaver 1.1 - large.3do"));
    QDir(folder).removeRecursively();
}

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
    program.drag(0.05, 0.7, 0.55, 0.3, 2); // the wood is twice as tall as wide
    program.input().moveTo(program.main().x + program.main().width + 20, program.main().y);
    const QImage picture = editorPicture(program);
    EXPECT_TRUE(picture.save(picturesDir() + "/texture-view.png"));
    // In the view, the middle ring's left vertices selected (green) and the others not (red).
    const QRect view = program.view().translated(-std::min(program.main().x, program.panel().x),
                                                 -std::min(program.main().y, program.panel().y));
    EXPECT_GT(countNear(picture, view, qRgb(0, 255, 0)), 2 * 9);
    EXPECT_GT(countNear(picture, view, qRgb(255, 0, 0)), 2 * 9);
    ASSERT_TRUE(program.close("Skinweaver 1.1 - lantern.3do*"));
}

// The painting loop in the real program, as a modder goes round it, in a copy of the samples:
// the lantern's sides box-remapped (a picture of the texture view), the paint template
// exported, which is the batch tool's for the same remap, painted four times its size in
// bands of greens, blues and purples that the wood never shows, deeper where the outlines
// were, and imported in place of wood.MAT
// (kept as wood.MAT.bak): the model shows it at once (a picture of the 3D view).
TEST(Pictures, ThePaintingLoop) {
    const QString folder = QDir::temp().filePath(QString("skinweaver-loop-%1").arg(getpid()));
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder + "/mat"));
    for (const char* file : {"lantern.3do", "mat/wood.MAT", "mat/red.MAT"})
        ASSERT_TRUE(QFile::copy(QString(SW_SAMPLES_DIR) + "/" + file, folder + "/" + file));
    const auto local = [](const QString& path) { return QFile::encodeName(path).toStdString(); };
    RealProgram program;
    ASSERT_TRUE(program.start({folder + "/lantern.3do"}, "Skinweaver 1.1 - lantern.3do"));
    ASSERT_TRUE(program.findView());
    program.clickInPanel(RealProgram::kFirstTexture);
    program.clickInPanel(RealProgram::kBox);
    program.clickInPanel(RealProgram::kEdit);
    program.input().moveTo(program.main().x + program.main().width + 20, program.main().y);
    QTest::qWait(300);
    EXPECT_TRUE(editorPicture(program).save(picturesDir() + "/box-remap.png"));
    program.clickInPanel(RealProgram::kEdit); // "return"

    const QString exported = folder + "/wood.png";
    program.fileMenu('e');
    ASSERT_TRUE(program.typeInto("Export paint template", local(exported), true));
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(exported); }));
    QProcess layout;
    layout.start(SW_CLI_PATH, {"uvlayout", folder + "/lantern.3do", folder + "/cli.png", "--mesh",
                               "0", "--group", "0", "--direction", "box"});
    ASSERT_TRUE(layout.waitForFinished() && layout.exitCode() == 0);
    const QImage outlines = QImage(exported).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(outlines.size(), QSize(32, 64));
    EXPECT_EQ(outlines, QImage(folder + "/cli.png").convertToFormat(QImage::Format_ARGB32));

    QImage painted(outlines.size() * 4, QImage::Format_RGB32);
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            painted.setPixel(x, y,
                             QColor::fromHsv(120 + y * 180 / painted.height(),
                                             qAlpha(outlines.pixel(x / 4, y / 4)) != 0 ? 255 : 150,
                                             200 + (y / 8 % 2) * 40)
                                 .rgb());
    const QString painting = folder + "/painted.png";
    ASSERT_TRUE(painted.save(painting));
    program.fileMenu('i');
    ASSERT_TRUE(program.typeInto("Import painting", local(painting), true));
    ASSERT_TRUE(program.waitForWindow("Skinweaver 1.1")); // replace wood.MAT?
    program.input().key(0xff0d);                          // Enter: Yes
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(folder + "/mat/wood.MAT.bak"); }));
    const QRect view = program.view();
    EXPECT_TRUE(waitFor([&] {
        const QImage screen = grabScreen();
        int blue = 0;
        for (int y = view.top(); y <= view.bottom(); y += 2)
            for (int x = view.left(); x <= view.right(); x += 2)
                blue += qBlue(screen.pixel(x, y)) > qRed(screen.pixel(x, y)) + 40 ? 1 : 0;
        return blue > 500;
    }));
    program.clickInPanel({183, 265}); // "sel none": the painting's colours without the tint
    QTest::qWait(300);
    EXPECT_TRUE(editorPicture(program).save(picturesDir() + "/painted.png"));
    ASSERT_TRUE(program.close("Skinweaver 1.1 - lantern.3do*"));
    QDir(folder).removeRecursively();
}

} // namespace
} // namespace sw::test
