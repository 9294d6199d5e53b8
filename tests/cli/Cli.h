#pragma once

#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <QImage>

#include <string>
#include <vector>

namespace sw::test {

inline const std::string kSamples = SW_SAMPLES_DIR;
inline const std::string kSample = kSamples + "/totem.3do";

// skinweaver-cli run as a user runs it.
inline ProgramResult cli(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {}) {
    return runProgram(SW_CLI_PATH, arguments, environment);
}

inline QImage image(const std::string& path) {
    return QImage(QString::fromStdString(path));
}

} // namespace sw::test
