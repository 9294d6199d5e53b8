#pragma once

#include "platform/ImageFiles.h"

namespace sw {

// Image files through Qt's image readers and PNG writer; needs QtGui only, so that
// skinweaver-cli reads and writes its images the same way.
class QtImageFiles : public ImageFiles {
public:
    ImageRead read(const std::string& path, std::int64_t maxSide, std::int64_t maxPixels) override;
    std::string writePng(const std::string& path, const RgbaPixels& image) override;
};

} // namespace sw
