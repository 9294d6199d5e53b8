#include "textures/GobArchive.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sw {
namespace {

using test::gobArchive;

std::string text(const FileBytes& file) {
    return {file.bytes.begin(), file.bytes.end()};
}

TEST(GobArchive, FindsFilesByNameWithoutRegardToCaseAndReadsThemInPlace) {
    const std::string archive = gobArchive({{"mat\\WALL.MAT", "wall bytes"},
                                            {"3do\\mat\\crate.mat", "crate"},
                                            {"mat\\wall.mat", "second"},
                                            {"jkl\\01narshadda.jkl", ""}});
    test::TempDir dir;
    const std::string path = dir.write("Res2.gob", archive);
    const GobReadResult inMemory = readGobDirectory(test::asBytes(archive));
    const GobReadResult fromFile = readGobDirectory(dir.path().string() + "/res2.GOB");
    for (const GobReadResult* read : {&inMemory, &fromFile}) {
        ASSERT_TRUE(*read);
        EXPECT_EQ(read->directory.size(), 3u); // the second wall.mat counts for nothing
        EXPECT_EQ(read->directory.find("wall.mat"), nullptr); // folders are part of the name
        EXPECT_EQ(read->directory.find("mat\\wall.ma"), nullptr);
    }

    const GobDirectory& directory = fromFile.directory;
    ASSERT_NE(directory.find("Mat/Wall.mat"), nullptr);
    EXPECT_EQ(text(readGobEntry(path, *directory.find("Mat/Wall.mat"))), "wall bytes");
    const GobEntry* crate = directory.find("3DO\\MAT\\CRATE.MAT");
    ASSERT_NE(crate, nullptr);
    EXPECT_EQ(text(readGobEntry(path, *crate)), "crate");
    EXPECT_EQ(
        readGobEntry(path, {crate->offset, static_cast<std::uint32_t>(kMaxFileBytes + 1)}).status,
        FileStatus::TooLarge);

    // Changed on disk since: what is still there, or nothing when the archive is gone.
    std::filesystem::resize_file(path, crate->offset + 3);
    EXPECT_EQ(text(readGobEntry(path, *crate)), "cra");
    std::filesystem::remove(path);
    EXPECT_EQ(readGobEntry(path, *crate).status, FileStatus::CannotOpen);
}

TEST(GobArchive, RefusesDamagedArchives) {
    // Two files, "abc" at 288 and "de" at 291; the entries start at 16 and 152.
    const std::string good = gobArchive({{"mat\\a.mat", "abc"}, {"mat\\b.mat", "de"}});
    ASSERT_EQ(good.size(), 293u);
    using test::withI32;
    const std::pair<std::string, GobError> cases[] = {
        {"", GobError::NotGob},
        {"GOB", GobError::NotGob},
        {"GOB\x0A" + good.substr(4), GobError::NotGob}, // the older game's archives
        {"gob " + good.substr(4), GobError::NotGob},
        {good.substr(0, 11), GobError::Truncated},
        {withI32(good, 8, 290), GobError::OutOfRange}, // no room for the count
        {withI32(good, 8, -1), GobError::OutOfRange},
        {withI32(good, 12, 0), GobError::Empty},
        {withI32(good, 12, 3), GobError::Truncated}, // a third entry would pass the end
        {good.substr(0, 200), GobError::Truncated},
        {withI32(good, 12, 0x7FFFFFFF), GobError::TooLarge},
        {withI32(good, 16, 291), GobError::OutOfRange}, // "abc" would end past the file
        {withI32(good, 156, 3), GobError::OutOfRange},
        {withI32(withI32(good, 16, -16), 20, 32), GobError::OutOfRange}, // wraps in 32 bits
    };
    test::TempDir dir;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [bytes, error] = cases[i];
        EXPECT_EQ(readGobDirectory(test::asBytes(bytes)).error, error) << "case " << i;
        EXPECT_EQ(readGobDirectory(dir.write("case.gob", bytes)).error, error) << "case " << i;
    }
    EXPECT_EQ(readGobDirectory(dir.path().string()).error, GobError::CannotOpen);
    EXPECT_EQ(readGobDirectory(dir.path().string() + "/gone.gob").error, GobError::CannotOpen);
}

} // namespace
} // namespace sw
