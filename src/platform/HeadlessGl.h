#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace sw {

// An OpenGL compatibility-profile context without a window (EGL on Mesa's surfaceless
// platform, drawing into a pbuffer of the given size). Used by the command-line tool and the
// tests: while the object lives and after makeCurrent(), GL calls draw into the pbuffer.
class HeadlessGl {
public:
    // Returns nothing when no such context can be made on this machine.
    static std::unique_ptr<HeadlessGl> create(int width, int height);

    struct Key {}; // lets only create() construct one
    explicit HeadlessGl(Key) {}
    ~HeadlessGl();
    HeadlessGl(const HeadlessGl&) = delete;
    HeadlessGl& operator=(const HeadlessGl&) = delete;

    bool makeCurrent();
    int width() const { return width_; }
    int height() const { return height_; }
    // The colour buffer as RGB bytes, bottom row first (as glReadPixels gives it).
    std::vector<std::uint8_t> readPixels() const;

private:
    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace sw
