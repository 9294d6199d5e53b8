#pragma once

#include <QStringList>

namespace sw::cli {

// Exit codes of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A sub-command: its arguments are those after the command's name. A command that is called
// wrongly prints its usage on stderr and returns kExitUsage.
struct Command {
    const char* name;
    const char* usage; // arguments, as shown after "skinweaver-cli <name> "
    const char* summary;
    int (*run)(const QStringList& arguments);
};

int runInfo(const QStringList& arguments);
int runTexture(const QStringList& arguments);
int runResave(const QStringList& arguments);
int runOffset(const QStringList& arguments);
int runRender(const QStringList& arguments);
int runRemap(const QStringList& arguments);
int runUvView(const QStringList& arguments);
int runUvLayout(const QStringList& arguments);
int runMat(const QStringList& arguments);
int runSources(const QStringList& arguments);

} // namespace sw::cli
