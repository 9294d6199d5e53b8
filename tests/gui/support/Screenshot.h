#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QString>

namespace sw::test {

// The whole screen as it is shown, every program's windows included.
inline QImage grabScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->grabWindow(0).toImage() : QImage();
}

// Saves the screen as a PNG file; false when it cannot be written.
inline bool saveScreenshot(const QString& path) {
    const QImage image = grabScreen();
    return !image.isNull() && image.save(path, "PNG");
}

} // namespace sw::test
