#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>

struct xcb_connection_t;

namespace sw::test {

// Runs the event loop until the condition holds or the time is up.
inline bool waitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

// Until the window is shown and the display has drawn it.
inline bool waitForExposed(const QWidget* window) {
    return waitFor([window] { return window->isVisible() && window->windowHandle()->isExposed(); });
}

// The whole screen as it is shown, every program's windows included.
inline QImage grabScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->grabWindow(0).toImage() : QImage();
}

inline bool isBlack(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0;
}

// Where a mapped top-level window lies on the screen, frame excluded.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The X display: the top-level windows a process shows on it, found by their titles, and input
// as a user's mouse and keyboard give it (the XTEST extension), which reaches whichever program
// the server sends it to, like real input.
class X11 {
public:
    // Nothing when the display cannot be reached or has no XTEST.
    static std::unique_ptr<X11> connect();
    explicit X11(xcb_connection_t* connection) : c_(connection) {}
    ~X11();
    X11(const X11&) = delete;
    X11& operator=(const X11&) = delete;

    // The area of the process's window with this exact title; nothing while it shows none.
    std::optional<ScreenArea> shownWindow(long long pid, const std::string& title);
    // Asks that window to close, as its close box would. False when it is not shown.
    bool closeWindow(long long pid, const std::string& title);

    void moveTo(int x, int y);
    void button(bool down);
    void click(int x, int y);
    // The wheel turned by notches, positive away from the user.
    void wheel(int notches);
    // A key held down or let go, by its X key symbol.
    void hold(unsigned keysym, bool down);
    static constexpr unsigned kControlKey = 0xffe3;
    static constexpr unsigned kHomeKey = 0xff50;
    // A key by its X key symbol (0xff0d Return, ...), with Control held around it when asked.
    void key(unsigned keysym, bool control = false);
    // Printable ASCII text, key by key, with Shift where a character needs it.
    void type(const std::string& text);

private:
    std::optional<unsigned> find(long long pid, const std::string& title);
    void fake(int type, int detail, int x = 0, int y = 0);

    xcb_connection_t* c_;
};

// The real skinweaver program under the test's X display, driven by mouse and keyboard events
// as a user drives it. The main window and the control panel are found by their titles. Where
// QT_SCALE_FACTOR scales the program, the points on its windows scale with it.
class RealProgram {
public:
    // Starts the program with its arguments and waits for its two windows; `mainTitle` is the
    // main window's title once it is up (with the model's name when one is opened).
    bool start(const QStringList& arguments, const std::string& mainTitle);
    // Closes the main window (of this title) as its close box does; true when the program
    // then ends with exit code 0.
    bool close(const std::string& mainTitle);

    // Ends the program at once, as a crash or SIGKILL does.
    void kill() {
        process_.kill();
        process_.waitForFinished();
    }

    bool waitForWindow(const std::string& title);
    // Waits for the main window to show this title, and finds it there.
    bool mainTitled(const std::string& title);
    // A click on a control of the control panel, at a point of its client area; the
    // controls lie where the panel's table puts them.
    void clickInPanel(QPoint at);
    static constexpr QPoint kFirstMesh{67, 31};
    static constexpr QPoint kFirstTexture{183, 31};
    static constexpr QPoint kFront{35, 332};
    static constexpr QPoint kEdit{35, 381}; // "return" while editing
    static constexpr QPoint kFactor{70, 405};
    static constexpr QPoint kScale{35, 405};
    static constexpr QPoint kBox{35, 441};
    static constexpr QPoint kSelectAll{143, 381};
    // A menu item of the main window's File menu, by its access key.
    void fileMenu(char accessKey);
    // The dialog with this title takes the pointer (and so the keyboard), and the text typed.
    bool typeInto(const std::string& dialogTitle, const std::string& text, bool replace);

    // The OpenGL view on the screen, found while it shows the black of the model view.
    bool findView();
    // Where the texture view shows (u, v) of the unit square, as it shows it after an automatic
    // remap: fitted 16 pixels inside the view, the texels square (`aspect` is the texture's
    // height over its width).
    QPoint viewPoint(double u, double v, double aspect = 1) const;
    // A rectangle dragged in the texture view from (u0, v0) to (u1, v1) of the unit square, by
    // way of a point between them.
    void drag(double u0, double v0, double u1, double v1, double aspect = 1);
    // Screen pixels per pixel of the program.
    double scale() const { return scale_; }
    // Pixels of the program in screen pixels.
    int scaled(double pixels) const;

    X11& input() { return *x_; }
    const ScreenArea& main() const { return main_; }
    const ScreenArea& panel() const { return panel_; }
    const QRect& view() const { return view_; }

private:
    QProcess process_;
    std::unique_ptr<X11> x_;
    long long pid_ = 0;
    ScreenArea main_;
    ScreenArea panel_;
    QRect view_;
    double scale_ = 1;
};

} // namespace sw::test
