#include "textures/GobArchive.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

// Read from memory and from a file alike. Finding files in an archive that reads is the
// texture search's test.
TEST(GobArchive, RefusesDamagedArchives) {
    // Two files, "abc" at 288 and "de" at 291; the entries start at 16 and 152.
    const std::string good = gobArchive({{"mat\\a.mat", "abc"}, {"mat\\b.mat", "de"}});
    ASSERT_EQ(good.size(), 293u);
    const std::pair<std::string, GobError> cases[] = {
        {good, GobError::None},
        {"GOB", GobError::NotGob},
        {"GOB\x0A" + good.substr(4), GobError::NotGob}, // the older game's archives
        {good.substr(0, 11), GobError::Truncated},
        {withI32(good, 8, 290), GobError::OutOfRange}, // no room for the count
        {withI32(good, 8, -1), GobError::OutOfRange},
        {withI32(good, 12, 0), GobError::Empty},
        {withI32(good, 12, 3), GobError::Truncated}, // a third entry would pass the end
        {good.substr(0, 200), GobError::Truncated},
        {withI32(good, 12, 0x7FFFFFFF), GobError::TooLarge},
        {withI32(good, 156, 3), GobError::OutOfRange},                   // "de" past the end
        {withI32(withI32(good, 16, -16), 20, 32), GobError::OutOfRange}, // wraps in 32 bits
    };
    TempDir dir;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [bytes, error] = cases[i];
        EXPECT_EQ(readGobDirectory(asBytes(bytes)).error, error) << "case " << i;
        EXPECT_EQ(readGobDirectory(dir.write("case.gob", bytes)).error, error) << "case " << i;
    }
    EXPECT_EQ(readGobDirectory(dir.path().string()).error, GobError::CannotOpen);
}

} // namespace
} // namespace sw::test
