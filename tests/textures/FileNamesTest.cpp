#include "platform/FileNames.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(FileNames, ResolvesEachComponentWithoutRegardToCase) {
    test::TempDir dir;
    const std::string base = dir.path().string();
    const std::string wall = dir.write("Models/mat/wall.mat", "x");
    EXPECT_EQ(resolveFileName(base + "/models\\MAT\\WALL.MAT"), wall); // as a Windows model says
    EXPECT_EQ(resolveFileName(base + "/models/./MAT/../mat/Wall.mat"),
              base + "/Models/./mat/../mat/wall.mat");
    // Nothing matches: the path stays as it was, and opening it fails as it should.
    EXPECT_EQ(resolveFileName(base + "/models/bmp/wall.mat"), base + "/models/bmp/wall.mat");
}

} // namespace
} // namespace sw
