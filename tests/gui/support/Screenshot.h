#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>

namespace sw::test {

// The whole screen as it is shown, every program's windows included.
inline QImage grabScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->grabWindow(0).toImage() : QImage();
}

inline bool isBlack(QRgb pixel) {
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

// The middle of a sample shows its textured model: nothing black in the square of side 11
// around the centre, and some colour rather than white or a grey.
inline void expectTexturedMiddle(const QImage& image, QPoint centre) {
    bool coloured = false;
    for (int y = centre.y() - 5; y <= centre.y() + 5; ++y) {
        for (int x = centre.x() - 5; x <= centre.x() + 5; ++x) {
            const QRgb pixel = image.pixel(x, y);
            EXPECT_FALSE(isBlack(pixel)) << x << ", " << y;
            const auto [low, high] = std::minmax({qRed(pixel), qGreen(pixel), qBlue(pixel)});
            coloured = coloured || high - low > 40;
        }
    }
    EXPECT_TRUE(coloured);
}

} // namespace sw::test
