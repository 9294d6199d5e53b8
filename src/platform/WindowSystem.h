#pragma once

#include "platform/ControlIds.h"
#include "platform/MessageBox.h"

#include <optional>
#include <string>
#include <vector>

namespace sw {

class WindowEvents;

// The program's one-shot timers: writing the recovery file of unsaved changes, reading texture
// files again after they changed on disk.
enum class Timer { Recovery, TextureReload };

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int width = 0;
    int height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

enum class ControlKind {
    PushButton,
    RadioButton, // checked only by the program, never by the click itself
    CheckBox,    // toggles itself when clicked
    GroupBox,
    Label,
    ListBox, // one selectable row, reports selection changes and double clicks
    EditBox, // one line, scrolls horizontally
    HorizontalScrollBar,
    VerticalScrollBar,
    GlView, // the OpenGL view
};

// A top-level window. The control panel and the Preferences window are tool windows owned by
// the main window: they stay above it and are placed in screen coordinates.
struct WindowDesc {
    Window window = Window::None;
    std::string title;
    Rect rect; // screen position and size
};

// A child control. Its rectangle is in the parent's client coordinates.
struct ControlDesc {
    Window parent = Window::None;
    ControlKind kind = ControlKind::PushButton;
    ControlId id = ControlId::MenuOpen;
    std::string text;
    Rect rect;
    bool enabled = true;
};

// One entry of the main window's menu bar, in order: a drop-down starts a menu that the
// following items and separators fill; a bar item is a command on the bar itself, drawn at
// its right end. An item's text may end in a tab and its key ("&Undo\tCtrl+Z"), which then
// chooses the item while the main window is active; `alsoKey` is a second key for it, and
// `panelKeys` makes its keys work while the control panel is active too.
struct MenuItemSpec {
    enum class Kind { DropDown, Item, Separator, BarItem };
    Kind kind = Kind::Item;
    std::string text;
    ControlId id = ControlId::MenuOpen;
    bool enabled = true;
    std::string alsoKey = {};
    bool panelKeys = false;
    bool checkable = false; // shows a check mark that setChecked sets
};

// The windows and controls of the program as the shell sees them. Controls and menu items are
// addressed by their ControlId, windows by Window. Every operation on something that does not
// exist (any more) does nothing, as the window system's own calls do with a stale handle.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Where window events go; set before anything is created.
    virtual void setEventSink(WindowEvents* sink) = 0;

    // Creation, in the order the shell builds its windows. The font applies to every window
    // and control created after it.
    virtual void createFont(const std::string& face, int cellHeight) = 0;
    virtual bool registerWindowClass(Window window) = 0;
    virtual void createMenu(const std::vector<MenuItemSpec>& items) = 0; // for the main window
    virtual bool createWindow(const WindowDesc& desc) = 0;
    virtual bool createControl(const ControlDesc& desc) = 0;
    // Creates the OpenGL view's rendering context and makes it current.
    virtual bool createGlContext() = 0;
    virtual std::optional<Size> clientSize(ControlId id) const = 0;
    // Device pixels per logical pixel of the OpenGL view (2 on a screen scaled to 200%):
    // sizes and pointer positions count logical pixels, GL's viewport device pixels.
    virtual double viewPixelRatio() const = 0;

    // The end of the program.
    virtual void destroyControl(ControlId id) = 0;
    virtual void destroyWindow(Window window) = 0;
    // Delivers the message to the window's handler before it returns.
    virtual void sendPrivate(Window window, PrivateMessage message) = 0;
    // Leaves the event loop with the given exit code once the current event is handled.
    virtual void postQuit(int exitCode) = 0;

    // Controls and menu items (a checkable item's check mark too).
    virtual void enable(ControlId id, bool enabled) = 0;
    virtual bool isEnabled(ControlId id) const = 0;
    virtual void setText(ControlId id, const std::string& text) = 0;
    virtual std::string text(ControlId id) const = 0;
    virtual void setChecked(ControlId id, bool checked) = 0;
    virtual bool isChecked(ControlId id) const = 0;
    virtual void moveControl(ControlId id, const Rect& rect) = 0;
    virtual void setFocus(ControlId id) = 0;

    // List boxes. A row of -1 means none.
    virtual void resetList(ControlId id) = 0;
    virtual void insertRow(ControlId id, int row, const std::string& text) = 0;
    virtual void setCurrentRow(ControlId id, int row) = 0;
    virtual int currentRow(ControlId id) const = 0;

    // Scroll bars.
    virtual void setScrollRange(ControlId id, int minimum, int maximum) = 0;
    virtual void setScrollPos(ControlId id, int position) = 0;
    virtual int scrollPos(ControlId id) const = 0;

    // Top-level windows.
    virtual void setVisible(Window window, bool visible) = 0;
    virtual void setFocus(Window window) = 0;
    virtual void setTitle(Window window, const std::string& title) = 0;

    // Asks for the OpenGL view to be drawn again (the handler's onFrame) soon.
    virtual void requestFrame() = 0;
    // Calls the handler's onTimer(timer) once, about `milliseconds` from now; a timer started
    // again before it ran starts over.
    virtual void startTimer(Timer timer, int milliseconds) = 0;
};

} // namespace sw
