#pragma once

#include <QImage>
#include <QString>

namespace sw::test {

// The whole screen as it is shown, every program's windows included.
QImage grabScreen();

// Saves the screen as a PNG file; false when it cannot be written.
bool saveScreenshot(const QString& path);

} // namespace sw::test
