#include "textures/DecodedImage.h"

namespace sw {

const char* describeDecodeError(DecodeError error) {
    switch (error) {
    case DecodeError::None:
        return "no error";
    case DecodeError::Truncated:
        return "the file ends before the data its header describes";
    case DecodeError::BadSize:
        return "the image size is zero, negative or too large";
    case DecodeError::BadColourIndex:
        return "the colour index is outside the palette";
    case DecodeError::UnsupportedHeader:
        return "the bitmap header is of an unsupported kind";
    case DecodeError::UnsupportedBitCount:
        return "the number of bits per pixel is not supported";
    case DecodeError::Compressed:
        return "compressed bitmaps are not supported";
    }
    return "unknown error";
}

} // namespace sw
