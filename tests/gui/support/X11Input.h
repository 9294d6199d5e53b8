#pragma once

#include <memory>
#include <string>

struct xcb_connection_t;

namespace sw::test {

// Input on the X display as a user's mouse and keyboard give it (the XTEST extension): the
// events reach whichever program the server sends them to, like real ones.
class X11Input {
public:
    // Nothing when the display cannot be reached or has no XTEST.
    static std::unique_ptr<X11Input> connect();
    ~X11Input();
    X11Input(const X11Input&) = delete;
    X11Input& operator=(const X11Input&) = delete;

    void moveTo(int x, int y);
    void press();
    void release();
    void click(int x, int y);
    // A key by its X key symbol (0xff0d Return, 0xff1b Escape, ...), with Control held around
    // it when asked.
    void key(unsigned keysym, bool control = false);
    // Printable ASCII text, key by key, with Shift where a character needs it.
    void type(const std::string& text);

    explicit X11Input(xcb_connection_t* connection);

private:
    void fake(int type, int detail, int x = 0, int y = 0);
    // The server has taken every event so far.
    void sync();

    xcb_connection_t* c_;
    unsigned root_ = 0;
};

} // namespace sw::test
