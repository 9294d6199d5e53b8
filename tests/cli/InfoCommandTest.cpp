#include "support/ModelText.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

test::ProgramResult cli(const std::vector<std::string>& arguments) {
    return test::runProgram(SW_CLI_PATH, arguments);
}

// The JSON without its layout, so that the test does not depend on indentation.
std::string compact(const std::string& json) {
    std::string result;
    bool inString = false;
    for (char c : json) {
        if (c == '"')
            inString = !inString;
        if (inString || (c != ' ' && c != '\n'))
            result += c;
    }
    return result;
}

TEST(InfoCommand, PrintsTheFileLayerAsJson) {
    test::TempDir dir;
    const auto result = cli({"info", dir.write("tri.3do", test::kTriangleModel)});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string json = compact(result.out);
    for (const char* part :
         {"\"version\":2.1", "\"radius\":0.5", "\"insertOffset\":[0,0,-0.1]",
          "\"materials\":[\"wall\",\"floor\"]", "\"name\":\"tri\"", "\"radius\":1.5",
          "\"geometryMode\":4", "\"lightingMode\":3", "\"textureMode\":3", "\"numVertices\":3",
          "\"numTxverts\":3", "\"numFaces\":1", "\"hnodename\":\"root\"", "\"mesh\":0",
          "\"parent\":-1"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << " missing from " << json;
    }
}

TEST(InfoCommand, RefusesWhatDoesNotLoadAndWrongUsage) {
    test::TempDir dir;
    const auto broken = cli({"info", dir.write("bad.3do", "SECTION: HEADER 3DO 2.1")});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.err, "Error loading file.\n");
    EXPECT_TRUE(broken.out.empty());

    EXPECT_EQ(cli({"info", (dir.path() / "missing.3do").string()}).exitCode, 1);
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"info"}, {"info", "a.3do", "b.3do"}, {"no-such-command"}}) {
        const auto usage = cli(arguments);
        EXPECT_EQ(usage.exitCode, 2);
        EXPECT_NE(usage.err.find("Usage"), std::string::npos);
    }
}

} // namespace
} // namespace sw
