#include "support/RealProgram.h"

#include "support/Screenshot.h"
#include "support/Wait.h"

#include <cmath>

namespace sw::test {

namespace {

constexpr unsigned kReturn = 0xff0d;

// Where the view lies in the main window's client area, and what of the client it leaves.
constexpr int kViewLeft = 37;
constexpr int kViewTop = 8;
constexpr int kViewMarginX = 71;
constexpr int kViewMarginY = 43;

} // namespace

bool RealProgram::start(const QStringList& arguments, const std::string& mainTitle) {
    input_ = X11Input::connect();
    if (!input_)
        return false;
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start(SW_SKINWEAVER_PROGRAM, arguments);
    if (!process_.waitForStarted())
        return false;
    pid_ = process_.processId();
    if (!waitForWindow(mainTitle) || !waitForWindow("Control Panel"))
        return false;
    main_ = *shownWindow(pid_, mainTitle);
    panel_ = *shownWindow(pid_, "Control Panel");
    return true;
}

bool RealProgram::close(const std::string& mainTitle) {
    if (!closeWindow(pid_, mainTitle) || !process_.waitForFinished(10000))
        return false;
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

bool RealProgram::waitForWindow(const std::string& title) {
    return waitFor([&] { return shownWindow(pid_, title).has_value(); });
}

void RealProgram::clickInPanel(QPoint at) {
    input_->click(panel_.x + at.x(), panel_.y + at.y());
}

void RealProgram::fileMenu(char accessKey) {
    input_->click(main_.x + 18, main_.y + 8);
    input_->key(static_cast<unsigned char>(accessKey));
}

bool RealProgram::typeInto(const std::string& dialogTitle, const std::string& text, bool replace) {
    if (!waitForWindow(dialogTitle))
        return false;
    const ScreenArea dialog = *shownWindow(pid_, dialogTitle);
    input_->moveTo(dialog.x + dialog.width / 2, dialog.y + dialog.height / 2);
    if (replace)
        input_->key('a', true);
    input_->type(text);
    input_->key(kReturn);
    return true;
}

// The view's top is where the black starts below the menu bar, at its left edge.
bool RealProgram::findView() {
    const int left = main_.x + kViewLeft;
    int top = -1;
    const bool found = waitFor([&] {
        const QImage screen = grabScreen();
        for (int y = main_.y; y < main_.y + 80 && top < 0; ++y)
            if (screen.pixel(left + 3, y) == qRgb(0, 0, 0))
                top = y;
        return top >= 0;
    });
    const int clientTop = top - kViewTop;
    view_ = QRect(left, top, main_.width - kViewMarginX,
                  main_.y + main_.height - clientTop - kViewMarginY);
    return found;
}

void RealProgram::drag(double u0, double v0, double u1, double v1) {
    const auto pointAt = [this](double u, double v) {
        input_->moveTo(view_.x() + static_cast<int>(std::lround(u * view_.width())),
                       view_.y() + static_cast<int>(std::lround((1 - v) * view_.height())));
    };
    pointAt(u0, v0);
    input_->press();
    pointAt((u0 + u1) / 2, (v0 + v1) / 2);
    pointAt(u1, v1);
    input_->release();
}

} // namespace sw::test
