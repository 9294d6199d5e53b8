// The painting loop in the editor: the box remap, a paint template out, the painting in as the
// group's texture, and textures that read themselves again when they change on disk.

#include "app/ShellFixture.h"
#include "support/TextureFiles.h"

namespace sw::test {
namespace {

// The colours of the painting's quarters: red and green above, blue and white below; entries 6,
// 1, 31 and 16 of the built-in palette.
constexpr std::array<std::array<std::uint8_t, 3>, 4> kQuarters{
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};

RgbaPixels painting(int width, int height) {
    RgbaPixels image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto& c = kQuarters[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            image.bytes.insert(image.bytes.end(), {c[0], c[1], c[2], 255});
        }
    return image;
}

// tests/data/quad.3do with its texture vertices at the corners of a 2 x 2 texture.
std::string quadText() {
    return replaced(dataFile("quad.3do"), "TEXTURE VERTICES 4\n",
                    "TEXTURE VERTICES 4\n0: 0 0\n1: 2 0\n2: 2 -2\n3: 0 -2\n");
}

// The quad of tests/data/quad.3do turned to face the viewer (its corners at x 0..1, z 0..1),
// mapped mirrored (u = x as the viewer sees x run to the left) on its 8-bit texture
// mat/paint.MAT of 2 x 2 grey texels, opened in a view of 64 x 64 pixels, its group chosen.
class Painting : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        dir.write("quad.3do",
                  replaced(quadText(), "4 0, 0 1, 1 2, 2 3, 3", "4 0, 0 3, 3 2, 2 1, 1"));
        dir.write("mat/paint.MAT", kGrey);
        open("quad.3do");
        shell.onSize(Window::GlView, 64, 64);
        select(Id::TextureList, 0);
    }

    // The colours drawn a few pixels up left, up right, down left and down right of the middle
    // of the view.
    std::vector<std::array<int, 3>> quarters() {
        shell.onFrame();
        const std::vector<std::uint8_t> pixels = windows.gl->readPixels();
        std::vector<std::array<int, 3>> colours;
        for (const auto& [x, y] : {std::pair{28, 36}, {36, 36}, {28, 28}, {36, 28}}) {
            const auto at = static_cast<std::size_t>((y * 64 + x) * 3);
            colours.push_back({pixels[at], pixels[at + 1], pixels[at + 2]});
        }
        return colours;
    }

    // "&Import painting..." of the image at `path`, answering the question when there is one.
    void import(const std::string& path, int answer = kIdYes) {
        fake.fileDialogs.choose(path, "painting.png");
        fake.messageBoxes.answer(answer);
        command(Id::MenuImportPainting);
    }

    // Saved, read again from the files and drawn.
    void saveAndRevert() {
        command(Id::MenuSave);
        fake.messageBoxes.answer(kIdYes);
        command(Id::MenuRevert);
    }

    const std::string kGrey = matTexture(2, 2, 8, "\x28\x28\x28\x28");
};

std::vector<std::array<int, 3>> painted() {
    std::vector<std::array<int, 3>> colours;
    for (const auto& c : kQuarters)
        colours.push_back({c[0], c[1], c[2]});
    return colours;
}

// Box-remapped, then painted at the texture's size and at twice it: the saved model and MAT,
// read again, show the painting upright and unmirrored on the quad, its texture coordinates
// following the painting's size. Each replaced texture file is kept as .bak after a question
// that names it, and the painting shows at once; a file that is no image is refused with a
// message and writes nothing.
TEST_F(Painting, ImportedAtOnceAndTwiceTheTexturesSizeTheSavedModelShowsThePainting) {
    command(Id::MenuBoxRemap);
    const std::string mat = pathOf("mat/paint.MAT");
    fake.images.files["/paint/one.png"] = painting(2, 2);
    fake.images.files["/paint/two.png"] = painting(4, 4);

    import("/paint/notes.png");
    EXPECT_EQ(boxes().back(), (Box{Window::Main,
                                   "The painting was not imported.\n\n/paint/notes.png: not an "
                                   "image this program reads: Unsupported image format",
                                   "File error", kMbOk | kMbIconExclamation}));
    EXPECT_EQ(files().size(), 2u);

    import("/paint/one.png");
    EXPECT_EQ(boxes().back(),
              (Box{Window::Main,
                   "Replace the texture file\n\n" + mat +
                       "\n\nwith the painting? The file it replaces is kept as paint.MAT.bak.",
                   "Skinweaver 1.1", kMbYesNo}));
    EXPECT_EQ(files().at("mat/paint.MAT.bak"), kGrey);
    // At once, tinted as the chosen group.
    EXPECT_EQ(quarters(), (std::vector<std::array<int, 3>>{
                              {204, 0, 0}, {0, 255, 0}, {0, 0, 204}, {204, 255, 204}}));
    saveAndRevert();
    EXPECT_EQ(quarters(), painted());

    select(Id::TextureList, 0);
    import("/paint/two.png");
    const std::string once = files().at("mat/paint.MAT");
    EXPECT_EQ(files().at("mat/paint.MAT.bak").size(), once.size() - 12); // 4 x 4 against 2 x 2
    saveAndRevert();
    EXPECT_EQ(quarters(), painted());

    // No: nothing is written.
    select(Id::TextureList, 0);
    const auto before = files();
    import("/paint/one.png", kIdNo);
    EXPECT_EQ(files(), before);
}

// The template dialog offers the texture's size and its multiples, outlines alone or on the
// texture, and says why the proportions matter; the file type chosen decides what is written.
TEST_F(Painting, TheTemplateComesInTheTexturesSizeAndItsMultiples) {
    fake.fileDialogs.choose(pathOf("t.png"), "t.png", 5);
    command(Id::MenuExportTemplate);
    const FileDialogRequest& asked = fake.fileDialogs.shown().back().request;
    std::vector<std::string> offered;
    for (const FileFilter& filter : asked.filters)
        offered.push_back(filter.description + " " + filter.pattern);
    EXPECT_EQ(offered, (std::vector<std::string>{
                           "2 x 2, the texture's size: outlines only *.png",
                           "2 x 2, the texture's size: outlines on the texture *.png",
                           "4 x 4, 2 times the texture's: outlines only *.png",
                           "4 x 4, 2 times the texture's: outlines on the texture *.png",
                           "8 x 8, 4 times the texture's: outlines only *.png",
                           "8 x 8, 4 times the texture's: outlines on the texture *.png",
                           "16 x 16, 8 times the texture's: outlines only *.png",
                           "16 x 16, 8 times the texture's: outlines on the texture *.png"}));
    EXPECT_EQ(std::tuple(asked.title, asked.defaultSuffix, asked.overwritePrompt),
              std::tuple("Export paint template", "png", true));
    EXPECT_EQ(asked.note,
              "Paint at the size of the template, or at least keep the texture's proportions: "
              "texture coordinates are fractions of the texture, so a painting of other "
              "proportions is stretched on the model. \"Import painting...\" makes the painting "
              "the group's texture.");
    const RgbaPixels& written = fake.images.files.at(pathOf("t.png"));
    EXPECT_EQ(std::tuple(written.width, written.height), std::tuple(8, 8));
    // The quad's outline runs round the image's edge, over the texture's grey.
    EXPECT_EQ(std::vector(written.bytes.begin(), written.bytes.begin() + 4),
              (std::vector<std::uint8_t>{255, 0, 255, 255}));
    EXPECT_EQ(std::vector(written.bytes.begin() + 36, written.bytes.begin() + 40),
              (std::vector<std::uint8_t>{0xBB, 0xBB, 0xBB, 255}));
}

// A material named to lead out of its folder names no file: the user chooses where the
// painting goes, and the group takes that file. Until then the group has no texture, and its
// template comes at 512 x 512 (a file type the dialog does not know counts as the first).
TEST_F(ShellFixture, AMaterialNameThatLeavesItsFolderIsNotUsedAsAPath) {
    dir.write("quad.3do", replaced(quadText(), "0: paint.mat", "0: ..\\..\\evil.mat"));
    open("quad.3do");
    select(Id::TextureList, 0);
    fake.fileDialogs.choose(pathOf("t.png"), "t.png", -1);
    command(Id::MenuExportTemplate);
    EXPECT_EQ(fake.fileDialogs.shown().back().request.filters.at(0).description,
              "512 x 512, for a group without texture: outlines only");
    EXPECT_EQ(fake.images.files.at(pathOf("t.png")).width, 512);
    fake.images.files["/painting.png"] = painting(2, 2);
    fake.fileDialogs.choose("/painting.png", "painting.png");
    fake.fileDialogs.choose(pathOf("mine.mat"), "mine.mat");
    command(Id::MenuImportPainting);
    EXPECT_EQ(fake.fileDialogs.shown().back().request.title, "Save the painting as");
    EXPECT_EQ(files().size(), 2u);
    EXPECT_TRUE(files().count("mine.mat"));
    EXPECT_EQ(rows(Id::TextureList), std::vector<std::string>{"mine"});
    EXPECT_EQ(shell.state.currentModel->materials[0].width, 2);
}

// A texture found as a BMP only (4 x 4) is not written over: the painting becomes the MAT file
// the model names, in the model's mat folder, and shows at once.
TEST_F(ShellFixture, APaintingForATextureFoundAsABmpBecomesItsMat) {
    dir.write("quad.3do", quadText());
    dir.write("bmp/paint.BMP", bmpFile(4, 4, 24, std::string(48, '\x80')));
    open("quad.3do");
    select(Id::TextureList, 0);
    fake.images.files["/painting.png"] = painting(2, 2);
    fake.fileDialogs.choose("/painting.png", "painting.png");
    command(Id::MenuImportPainting);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(files().size(), 3u);
    EXPECT_TRUE(files().count("mat/paint.MAT"));
    EXPECT_EQ(shell.state.currentModel->materials[0].width, 2);
}

// The texture's file and the palette's are watched. A texture written anew shows at the reload
// timer; while it does not read whole it is not shown and is tried again shortly. The palette
// file read again recolours the 8-bit texture.
TEST_F(Painting, FilesChangedOnDiskShowOnceTheyReadWhole) {
    const std::string mat = pathOf("mat/paint.MAT");
    const std::string palette = dir.write("p.cmp", cmpFile());
    shell.state.preferences.cmpFile = palette;
    command(Id::Edit);
    command(Id::Edit);
    EXPECT_EQ(fake.fileWatcher.watched, (std::vector{mat, palette}));
    // Tinted as the chosen group.
    const std::array<int, 3> grey{150, 187, 150}; // entry 40, BBBBBB
    EXPECT_EQ(quarters(), std::vector(4, grey));

    const std::string red = matTexture(2, 2, 8, "\x06\x06\x06\x06");
    dir.write("mat/paint.MAT", red.substr(0, red.size() - 1));
    fake.fileWatcher.change(mat);
    EXPECT_EQ(windows.timers, (std::map<Timer, int>{{Timer::TextureReload, 100}}));
    shell.onTimer(Timer::TextureReload);
    EXPECT_EQ(windows.timers.at(Timer::TextureReload), 250);
    EXPECT_EQ(quarters(), std::vector(4, grey));

    dir.write("mat/paint.MAT", red);
    const int frames = windows.framesRequested;
    shell.onTimer(Timer::TextureReload);
    EXPECT_GT(windows.framesRequested, frames); // shown without waiting for the pointer
    EXPECT_EQ(quarters(), std::vector(4, (std::array<int, 3>{204, 0, 0})));

    // The palette changes while the texture is being written: both are tried again.
    dir.write("mat/paint.MAT", red.substr(0, red.size() - 1));
    fake.fileWatcher.change(palette);
    shell.onTimer(Timer::TextureReload);
    EXPECT_EQ(windows.timers.at(Timer::TextureReload), 250);
    dir.write("mat/paint.MAT", red);
    shell.onTimer(Timer::TextureReload);
    EXPECT_EQ(quarters(), std::vector(4, (std::array<int, 3>{5, 249, 2})));
}

} // namespace
} // namespace sw::test
