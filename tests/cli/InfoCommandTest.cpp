#include "Cli.h"

#include "support/ModelText.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

TEST(InfoCommand, PrintsTheFileLayerAsJsonOrWhyTheModelDoesNotLoad) {
    TempDir dir;
    const auto result = cli({"info", dir.write("tri.3do", kTriangleModel)});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, dataFile("triangle.json"));

    for (const std::string& model :
         {dir.write("bad.3do", "SECTION: HEADER 3DO 2.1"), (dir.path() / "missing.3do").string()}) {
        const auto broken = cli({"info", model});
        EXPECT_EQ(broken.exitCode, 1);
        EXPECT_EQ(broken.err, "Error loading file.\n");
        EXPECT_TRUE(broken.out.empty());
    }
}

} // namespace
} // namespace sw::test
