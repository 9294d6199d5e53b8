#include "support/Desktop.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

#include "editor/UvEditor.h"
#include "model/Model.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace sw::test {
namespace {

// A flat 4 x 4 grid of vertices facing front, nine quads of one untextured material: remapped
// from the front, its texture vertices lie at thirds of the texture, four of them inside.
std::string gridModel() {
    std::ostringstream text;
    text << "SECTION: HEADER\n3DO 2.1\nSECTION: MODELRESOURCE\nMATERIALS 1\n0: grid.mat\n"
            "SECTION: GEOMETRYDEF\nRADIUS 3\nINSERT OFFSET 0 0 0\nGEOSETS 1\nGEOSET 0\nMESHES 1\n"
            "MESH 0\nNAME grid\nRADIUS 3\nGEOMETRYMODE 4\nLIGHTINGMODE 3\nTEXTUREMODE 3\n"
            "VERTICES 16\n";
    for (int k = 0; k < 16; ++k)
        text << k << ": " << k % 4 - 1.5 << " 0 " << k / 4 << " 0\n";
    text << "TEXTURE VERTICES 16\n";
    for (int k = 0; k < 16; ++k)
        text << k << ": " << k % 4 << " " << -(k / 4) << "\n";
    text << "VERTEX NORMALS\n";
    for (int k = 0; k < 16; ++k)
        text << k << ": 0 1 0\n";
    text << "FACES 9\n";
    for (int q = 0; q < 9; ++q) {
        const int a = q / 3 * 4 + q % 3;
        text << q << ": 0 0x0000 4 3 3 0 4 " << a << ", " << a << " " << a + 1 << ", " << a + 1
             << " " << a + 5 << ", " << a + 5 << " " << a + 4 << ", " << a + 4 << "\n";
    }
    text << "FACE NORMALS\n";
    for (int q = 0; q < 9; ++q)
        text << q << ": 0 1 0\n";
    text << "SECTION: HIERARCHYDEF\nHIERARCHY NODES 1\n"
            "0: 0x0000 0x00001 0 -1 -1 -1 0 0 0 0 0 0 0 0 0 0 grid\n";
    return text.str();
}

// What the editor saves after the steps of the test: remapped from the front, the two inner
// vertices of the second row selected by the rectangle (0.25, 0.25) to (0.75, 0.5), then both
// axes scaled by 0.5.
std::string expectedFile(const std::string& path) {
    Model model;
    FakeMessageBox boxes;
    // grid.mat is nowhere, so the program leaves the material untextured as this does.
    if (!model.load(path) || !model.prepare([](Material&, const std::string&) {}, boxes))
        return {};
    UvEditor editor(model, 0, 0);
    editor.autoRemap(model, RemapDirection::Front, boxes);
    editor.beginRect(0.25, 0.25);
    editor.dragRect(0.5, 0.25);
    editor.endRect(model);
    editor.scaleU(model, 0.5);
    editor.scaleV(model, 0.5);
    return model.outputText();
}

// The real program, driven by mouse and keyboard events on the display as a user drives it:
// open a model, choose its mesh and texture, remap from the front, edit, drag a rectangle,
// scale by 0.5, return, and save it under another name.
TEST(EndToEnd, AModderRemapsScalesAndSavesAGroup) {
    // A folder without capitals, so that its path can be typed without Shift.
    const QString folder = QDir::temp().filePath(QString("skinweaver-e2e-%1").arg(getpid()));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString model = folder + "/grid.3do";
    const QString saved = folder + "/remapped.3do";
    QFile::remove(saved);
    {
        std::ofstream out(QFile::encodeName(model).toStdString());
        out << gridModel();
    }
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

} // namespace
} // namespace sw::test
