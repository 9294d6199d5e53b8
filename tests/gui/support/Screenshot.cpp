#include "support/Screenshot.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace sw::test {

QImage grabScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    return screen->grabWindow(0).toImage();
}

bool saveScreenshot(const QString& path) {
    const QImage image = grabScreen();
    return !image.isNull() && image.save(path, "PNG");
}

} // namespace sw::test
