#pragma once

#include "support/TempDir.h"

#include <QImage>
#include <QProcess>

#include <string>
#include <vector>

namespace sw::test {

inline const std::string kSamples = SW_SAMPLES_DIR;
inline const std::string kSample = kSamples + "/totem.3do";

struct ProgramResult {
    int exitCode = -1; // -1 when it did not run or did not end by itself
    std::string out;
    std::string err;
};

// skinweaver-cli run as a user runs it, in this process's environment with the "NAME=value"
// entries of `environment` added or replacing those of the same name.
inline ProgramResult cli(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {}) {
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const std::string& entry : environment) {
        const std::size_t equals = entry.find('=');
        variables.insert(QString::fromStdString(entry.substr(0, equals)),
                         QString::fromStdString(entry.substr(equals + 1)));
    }
    QStringList list;
    for (const std::string& argument : arguments)
        list.append(QString::fromStdString(argument));
    QProcess process;
    process.setProcessEnvironment(variables);
    process.start(SW_CLI_PATH, list);
    process.closeWriteChannel();
    ProgramResult result;
    if (process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

inline QImage image(const std::string& path) {
    return QImage(QString::fromStdString(path));
}

} // namespace sw::test
