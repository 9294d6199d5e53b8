#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sw {

// Tells the program when files it shows change on disk, so that it can read them again.
class FileWatcher {
public:
    using Listener = std::function<void(const std::string& path)>;

    virtual ~FileWatcher() = default;
    // Where the changes go: the path of a changed file, as watch() was given it. Called on the
    // user-interface thread, between the window system's events.
    virtual void setListener(Listener listener) = 0;
    // Watches these files from now on, and no others. A file written, replaced by another,
    // removed or made again is reported; a change may be reported more than once.
    virtual void watch(const std::vector<std::string>& paths) = 0;
};

} // namespace sw
