#include "cli/Commands.h"
#include "cli/GroupChoice.h"
#include "cli/ModelOpener.h"

#include "model/Model.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace sw::cli {

// Opens IN as the editor does, remaps one group from one side as its Auto remap buttons do,
// and saves the model to OUT as the Save command does.
int runRemap(const QStringList& arguments) {
    QTextStream err(stderr);
    QCommandLineParser parser;
    const GroupOptions groupOptions(parser);
    addTexturesOption(parser);
    parser.addPositionalArgument("IN.3do", "the model to read");
    parser.addPositionalArgument("OUT.3do", "the file to write");
    GroupChoice choice;
    if (!parser.parse(QStringList{"remap"} + arguments) ||
        parser.positionalArguments().size() != 2 || !groupOptions.read(parser, choice) ||
        !choice.direction) {
        err << "Usage: skinweaver-cli remap IN.3do OUT.3do --mesh M --group G --direction "
               "front|back|top|bott|left|right [--textures PATH]...\n";
        return kExitUsage;
    }

    Model model;
    ModelOpener opener(false, texturesOptionPaths(parser));
    if (const int result = openGroup(opener, parser.positionalArguments().at(0), choice, model);
        result != kExitOk)
        return result;

    const QString output = parser.positionalArguments().at(1);
    return saveModel(model, output);
}

} // namespace sw::cli
