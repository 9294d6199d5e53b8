#include "platform/qt/QtImageFiles.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <new>

namespace sw {

namespace {

QString nameOf(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

ImageRead QtImageFiles::read(const std::string& path, std::int64_t maxSide,
                             std::int64_t maxPixels) {
    ImageRead result;
    const QString name = nameOf(path);
    // Pipes and devices could keep the reader waiting; only files are read.
    if (!QFileInfo(name).isFile())
        return result;
    const auto tooLarge = [&](QSize size) {
        const std::int64_t w = size.width();
        const std::int64_t h = size.height();
        if (w <= maxSide && h <= maxSide && w * h <= maxPixels)
            return false;
        result.status = ImageRead::Status::TooLarge;
        result.width = size.width();
        result.height = size.height();
        return true;
    };
    // Qt refuses to decode images of more than 128 MB by default: the largest image taken,
    // decoded with 16 bits per channel and alpha, needs 8 bytes a pixel.
    QImageReader::setAllocationLimit(
        static_cast<int>(std::max<std::int64_t>(maxPixels * 8 >> 20, 128)));
    QImageReader reader(name);
    reader.setDecideFormatFromContent(true);
    // Most formats know their size from the header: refused before decoding.
    if (reader.size().isValid() && tooLarge(reader.size()))
        return result;
    const QImage image = reader.read();
    if (image.isNull()) {
        result.status = ImageRead::Status::NotAnImage;
        result.reason = reader.errorString().toStdString();
        return result;
    }
    if (tooLarge(image.size()))
        return result;
    result.status = ImageRead::Status::OutOfMemory;
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull())
        return result;
    try {
        const auto rowBytes = static_cast<std::size_t>(rgba.width()) * 4;
        result.image = {
            rgba.width(), rgba.height(),
            std::vector<std::uint8_t>(rowBytes * static_cast<std::size_t>(rgba.height()))};
        for (int y = 0; y < rgba.height(); ++y)
            std::memcpy(result.image.bytes.data() + rowBytes * static_cast<std::size_t>(y),
                        rgba.constScanLine(y), rowBytes);
    } catch (const std::bad_alloc&) {
        result.image = {};
        return result;
    }
    result.status = ImageRead::Status::Read;
    return result;
}

std::string QtImageFiles::writePng(const std::string& path, const RgbaPixels& image) {
    const auto rowBytes = static_cast<std::size_t>(image.width) * 4;
    if (image.width <= 0 || image.height <= 0 ||
        image.bytes.size() != rowBytes * static_cast<std::size_t>(image.height))
        return "There is no image to write.";
    const QImage picture(image.bytes.data(), image.width, image.height,
                         static_cast<qsizetype>(rowBytes), QImage::Format_RGBA8888);
    // Written beside the target and renamed over it, so that a failure leaves no partial file.
    QSaveFile file(nameOf(path));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString().toStdString() + ".";
    if (!picture.save(&file, "PNG")) {
        file.cancelWriting();
        return "The image could not be written as PNG: " + file.errorString().toStdString() + ".";
    }
    if (!file.commit())
        return file.errorString().toStdString() + ".";
    return {};
}

} // namespace sw
