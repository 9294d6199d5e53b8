#include "platform/FileNames.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::TempDir;

TEST(FileNames, ResolvesEachComponentWithoutRegardToCase) {
    TempDir dir;
    const std::string base = dir.path().string();
    const std::string wall = dir.write("Models/mat/wall.mat", "x");
    EXPECT_EQ(resolveFileName(base + "/MODELS/Mat/WALL.MAT"), wall);
    EXPECT_EQ(resolveFileName(base + "/models\\MAT\\Wall.Mat"),
              wall); // as a Windows model names it
    EXPECT_EQ(resolveFileName(base + "/models/./mat/../mat/WALL.MAT"),
              base + "/Models/./mat/../mat/wall.mat");

    // Nothing matches: the path stays as it was, and opening it fails as it should.
    EXPECT_EQ(resolveFileName(base + "/models/bmp/wall.mat"), base + "/models/bmp/wall.mat");
    EXPECT_EQ(resolveFileName(base + "/models/mat/wall.mat/x"), base + "/models/mat/wall.mat/x");
}

TEST(FileNames, NamesDifferingOnlyInCaseResolveToTheFirstInNameOrder) {
    TempDir dir;
    dir.write("wall.mat", "x");
    const std::string upper = dir.write("WALL.mat", "x");
    dir.write("Wall.mat", "x");
    EXPECT_EQ(resolveFileName(dir.path().string() + "/wALL.MAT"), upper);
}

} // namespace
} // namespace sw
