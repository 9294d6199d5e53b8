#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sw {

// An image with R, G, B and A bytes per pixel in rows of exactly width x 4 bytes, top row
// first.
struct RgbaPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    bool empty() const { return bytes.empty(); }
    friend bool operator==(const RgbaPixels&, const RgbaPixels&) = default;
};

// What reading an image file gave.
struct ImageRead {
    enum class Status {
        Read,
        CannotOpen,  // no regular file that opens for reading
        NotAnImage,  // nothing the image library decodes: `reason` says why
        TooLarge,    // beyond the limits asked for: `width` x `height` pixels
        OutOfMemory, // decoded, but no memory for its pixels
    };
    Status status = Status::CannotOpen;
    RgbaPixels image; // when Read
    int width = 0;
    int height = 0;
    std::string reason;
};

// Image files of the kinds a paint program writes (PNG, BMP, ...), read and written by the
// window system's image library.
class ImageFiles {
public:
    virtual ~ImageFiles() = default;
    // Reads the image in the file at `path`, refusing one with a side longer than `maxSide` or
    // more than `maxPixels` pixels in all, before it is decoded where its header tells the size.
    virtual ImageRead read(const std::string& path, std::int64_t maxSide,
                           std::int64_t maxPixels) = 0;
    // Writes the image as a PNG file that takes the place of `path` once it is whole. Returns
    // why it could not be written; empty when it was.
    virtual std::string writePng(const std::string& path, const RgbaPixels& image) = 0;
};

} // namespace sw
