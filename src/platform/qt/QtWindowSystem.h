#pragma once

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WindowEvents.h"
#include "platform/WindowSystem.h"

#include <QFont>
#include <QPointer>

#include <map>
#include <memory>
#include <vector>

class QAction;
class QKeyEvent;
class QMenuBar;
class QScrollBar;
class QTimer;
class QWidget;

namespace sw::qt {

class GlView;
class MainWindow;

// The window system on Qt widgets: real windows and controls, QMessageBox and QFileDialog.
// Qt's events come back to the handlers through the event sink, each with the OpenGL view's
// context current and followed by a new frame of the view.
class QtWindowSystem : public WindowSystem, public MessageBoxService, public FileDialogService {
public:
    QtWindowSystem();
    ~QtWindowSystem() override;

    // The surface format of every OpenGL surface of the program; call before the
    // QApplication is made, so the windows holding the view get it too.
    static void setDefaultSurfaceFormat();

    // The widget of a window or control, for tests that look at the real thing.
    QWidget* widget(Window window) const;
    QWidget* widget(ControlId id) const;
    QMenuBar* menuBar() const;

    void setEventSink(WindowEvents* sink) override { sink_ = sink; }
    void createFont(const std::string& face, int cellHeight) override;
    bool registerWindowClass(Window window) override;
    void createMenu(const std::vector<MenuItemSpec>& items) override;
    bool createWindow(const WindowDesc& desc) override;
    bool createControl(const ControlDesc& desc) override;
    bool createGlContext() override;
    std::optional<Size> clientSize(ControlId id) const override;
    double viewPixelRatio() const override;
    void destroyControl(ControlId id) override;
    void destroyWindow(Window window) override;
    void sendPrivate(Window window, PrivateMessage message) override;
    void postQuit(int exitCode) override;
    void enable(ControlId id, bool enabled) override;
    bool isEnabled(ControlId id) const override;
    void setText(ControlId id, const std::string& text) override;
    std::string text(ControlId id) const override;
    void setChecked(ControlId id, bool checked) override;
    bool isChecked(ControlId id) const override;
    void moveControl(ControlId id, const Rect& rect) override;
    void setFocus(ControlId id) override;
    void resetList(ControlId id) override;
    void insertRow(ControlId id, int row, const std::string& text) override;
    void setCurrentRow(ControlId id, int row) override;
    int currentRow(ControlId id) const override;
    void setScrollRange(ControlId id, int minimum, int maximum) override;
    void setScrollPos(ControlId id, int position) override;
    int scrollPos(ControlId id) const override;
    void setVisible(Window window, bool visible) override;
    void setFocus(Window window) override;
    void setTitle(Window window, const std::string& title) override;
    void requestFrame() override;
    void startTimer(Timer timer, int milliseconds) override;

    int messageBox(Window owner, const std::string& text, const std::string& caption,
                   unsigned style) override;
    bool showFileDialog(const FileDialogRequest& request, std::string& path,
                        std::string& fileName) override;

    // From the widgets: an event for the handlers.
    void routeKey(Window window, QKeyEvent* event, bool down);
    void routeSize(Window window, int width, int height);
    void routeClose(Window window);
    void routePointerMove(double x, double y, PointerState state);
    void routePointerButton(bool press, double x, double y, PointerButton button);
    void routeWheel(double x, double y, double steps);
    void routeFrame();

private:
    // Calls the handler with the view's context current, then asks for a frame.
    template <typename Call> void deliver(Call&& call);
    void restoreViewContext();
    void routeScroll(ControlId id, QScrollBar* bar, int action);
    QWidget* parentFor(Window window) const;
    QWidget* control(ControlId id) const;

    WindowEvents* sink_ = nullptr;
    QFont font_;
    bool hasFont_ = false;
    std::unique_ptr<QMenuBar> pendingMenu_;
    std::unique_ptr<MainWindow> main_;
    std::map<Window, QPointer<QWidget>> toolWindows_;
    std::map<ControlId, QPointer<QWidget>> controls_;
    std::map<ControlId, QPointer<QAction>> actions_;
    std::vector<QPointer<QAction>> panelActions_; // menu items whose keys work in the panel
    QPointer<GlView> glView_;
    std::map<Timer, std::unique_ptr<QTimer>> timers_;
};

} // namespace sw::qt
