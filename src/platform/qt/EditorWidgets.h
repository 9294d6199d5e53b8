#pragma once

#include "platform/MessageBox.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QOpenGLWidget>
#include <QRadioButton>
#include <QWidget>

#include <functional>

namespace sw::qt {

class QtWindowSystem;

// The main window's client area: the parent of the view, its bars and buttons, and the
// receiver of the main window's keys.
class ClientArea : public QWidget {
public:
    explicit ClientArea(QtWindowSystem& system);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QtWindowSystem& system_;
};

// A one-line text box whose undo and redo keys are its own, whatever menu item has them too.
class TextBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* event) override;
};

// The main window: menu bar and client area. Its close box asks the handler instead of
// closing.
class MainWindow : public QMainWindow {
public:
    explicit MainWindow(QtWindowSystem& system);
    ClientArea* client() const { return client_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QtWindowSystem& system_;
    ClientArea* client_;
};

// The control panel and the Preferences window: tool windows owned by the main window, with a
// caption and a close box. Keys reach the handler only while the window itself has the focus.
class ToolWindow : public QWidget {
public:
    ToolWindow(QtWindowSystem& system, Window window, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QtWindowSystem& system_;
    Window window_;
};

// A radio button that only the program checks: a click reports itself and leaves the check
// as it was.
class ProgramCheckedRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override {}
};

// A list box of one selectable row, as the system's: once a row is chosen the user cannot take
// the choice away (Control with a click or the space bar, a click below the rows), and every
// click on a row reports a choice, on the chosen row too. A key that moves the choice reports
// it once; changes made by the program report nothing, as its signals are blocked then. Only
// the left button chooses and double-clicks.
class ListBox : public QListWidget {
public:
    ListBox(QWidget* parent, std::function<void()> chosen);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::function<void()> chosen_;
    bool clicking_ = false;
};

// A box with Yes and No, as the system's: there is no Cancel, so Escape and the close box do
// nothing and only Yes or No ends it; Enter answers Yes, the default.
class YesNoBox : public QMessageBox {
public:
    YesNoBox(Icon icon, const QString& caption, const QString& text, QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

// The OpenGL view: compatibility profile, 8 bits per colour without alpha, 16-bit depth,
// double buffered. It draws through the handler's onFrame.
class GlView : public QOpenGLWidget {
public:
    explicit GlView(QtWindowSystem& system, QWidget* parent);

protected:
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QtWindowSystem& system_;
};

} // namespace sw::qt
