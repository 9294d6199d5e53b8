#include "cli/StderrMessageBox.h"

#include <QFile>
#include <QTextStream>

namespace sw::cli {

int StderrMessageBox::messageBox(Window, const std::string& text, const std::string& caption,
                                 unsigned style) {
    QTextStream(stderr) << QString::fromStdString(caption) << ": "
                        << QFile::decodeName(QByteArray::fromStdString(text)) << '\n';
    return (style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
}

} // namespace sw::cli
