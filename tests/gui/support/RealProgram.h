#pragma once

#include "support/X11Input.h"
#include "support/X11Windows.h"

#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

namespace sw::test {

// The real skinweaver program under the test's X display, driven by mouse and keyboard events
// as a user drives it. The main window and the control panel are found by their titles.
class RealProgram {
public:
    // Starts the program with its arguments and waits for its two windows; `mainTitle` is the
    // main window's title once it is up (with the model's name when one is opened).
    bool start(const QStringList& arguments, const std::string& mainTitle);
    // Closes the main window (of this title) as its close box does; true when the program
    // then ends with exit code 0.
    bool close(const std::string& mainTitle);

    bool waitForWindow(const std::string& title);
    // A click on a control of the control panel, at a point of its client area; the
    // controls lie where the panel's table puts them.
    void clickInPanel(QPoint at);
    static constexpr QPoint kFirstMesh{67, 31};
    static constexpr QPoint kFirstTexture{183, 31};
    static constexpr QPoint kFront{35, 332};
    static constexpr QPoint kEdit{35, 381}; // "return" while editing
    static constexpr QPoint kFactor{70, 405};
    static constexpr QPoint kScale{35, 405};
    // A menu item of the main window's File menu, by its access key.
    void fileMenu(char accessKey);
    // The dialog with this title takes the pointer (and so the keyboard), and the text typed.
    bool typeInto(const std::string& dialogTitle, const std::string& text, bool replace);

    // The OpenGL view on the screen, found while it shows the black of the model view.
    bool findView();
    // A rectangle dragged in the texture view from (u0, v0) to (u1, v1) of the unit square, as
    // the view shows it after an automatic remap, by way of a point between them.
    void drag(double u0, double v0, double u1, double v1);

    X11Input& input() { return *input_; }
    const ScreenArea& main() const { return main_; }
    const ScreenArea& panel() const { return panel_; }
    const QRect& view() const { return view_; }

private:
    QProcess process_;
    std::unique_ptr<X11Input> input_;
    long long pid_ = 0;
    ScreenArea main_;
    ScreenArea panel_;
    QRect view_;
};

} // namespace sw::test
