#include "Cli.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace sw::test {
namespace {

using Arguments = std::vector<std::string>;

// A call that names no command, or a command with wrong arguments, exits with 2 and that
// command's usage and writes nothing.
TEST(Usage, WrongCallsExitWithTwoAndTheUsageAndWriteNothing) {
    TempDir dir;
    const std::string out = (dir.path() / "out").string();
    const std::string png = dir.write("in.png", "");
    const Arguments group{"--mesh", "0", "--group", "0"};
    const Arguments calls[] = {
        {},
        {"no-such-command"},
        {"info"},
        {"info", kSample, kSample},
        {"texture", png},
        {"resave", kSample},
        {"offset", kSample, out, out},
        {"render", kSample},
        {"render", kSample, out, "--size", "0x10"},
        {"render", kSample, out, "--size", "100"},
        {"render", kSample, out, "--size", "99999x2"},
        {"render", kSample, out, "--yaw", "left"},
        {"render", kSample, out, "--zoom", "1.5"},
        {"remap", kSample, out, "--mesh", "0", "--group", "0", "--direction", "side"},
        {"remap", kSample, out, "--mesh", "0", "--direction", "top"},
        {"remap", kSample, out, "--mesh", "0", "--group", "0"},
        {"uvview", kSample, out, "--mesh", "0"},
        {"uvlayout", kSample, out, "--group", "0"},
        {"mat", png, out, "--bits", "12"},
        {"mat", png},
        {"sources"},
        {"sources", "drop", png},
    };
    for (const Arguments& call : calls) {
        const ProgramResult result = cli(call);
        const std::string command =
            call.empty() || call[0] == "no-such-command" ? "<command>" : call[0];
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(call);
        EXPECT_THAT(result.err, testing::StartsWith("Usage: skinweaver-cli " + command + " "));
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

} // namespace
} // namespace sw::test
