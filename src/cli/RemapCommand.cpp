#include "cli/Commands.h"
#include "cli/GroupChoice.h"
#include "cli/ModelOpener.h"

#include "model/Model.h"

#include <QTextStream>

namespace sw::cli {

// Opens IN as the editor does, remaps one group from one side as its Auto remap buttons do
// (or from every side, as its "box" does), and saves the model to OUT as the Save command does.
int runRemap(const QStringList& arguments) {
    GroupCommandLine commandLine("remap", "OUT.3do");
    if (!commandLine.parse(arguments) || !commandLine.choice().remaps()) {
        QTextStream(stderr) << "Usage: skinweaver-cli remap IN.3do OUT.3do --mesh M --group G "
                               "--direction front|back|top|bott|left|right|box [--textures "
                               "PATH]...\n";
        return kExitUsage;
    }
    Model model;
    if (const int result = commandLine.open(false, model); result != kExitOk)
        return result;
    return saveModel(model, commandLine.output());
}

} // namespace sw::cli
