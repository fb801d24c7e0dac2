#include "imageio/qt_image_decoder.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

bool rgQtImageDecoder::Decode(const std::string& path, rgDecodedImage& image, std::string& why) {
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile()) {
        why = QFileInfo::exists(file) ? "it is not a file" : "the file does not exist";
        return false;
    }
    QImageReader reader(file);
    reader.setAllocationLimit(kAllocationLimitMB);
    reader.setAutoTransform(false);
    QImage read = reader.read();
    if (read.isNull()) {
        why = reader.errorString().toStdString();
        if (why.empty() || why == "Unknown error") why = "not an image this editor reads";
        return false;
    }
    // RGB rows bottom-up, alpha dropped (as textures have always been).
    const QImage rgb = read.convertToFormat(QImage::Format_RGB888).mirrored(false, true);
    image.width = rgb.width();
    image.height = rgb.height();
    const size_t row = static_cast<size_t>(image.width) * 3;
    image.rgb.resize(row * static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
        std::copy_n(rgb.constScanLine(y), row, image.rgb.data() + row * static_cast<size_t>(y));
    return true;
}
