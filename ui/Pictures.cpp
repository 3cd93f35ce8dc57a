#include "Pictures.h"

#include <array>

#include <QImage>
#include <QPixmap>
#include <QResource>

namespace ui {

namespace {

// The sizes the build draws every picture in.
constexpr std::array kSizes = {BREVANTA_PICTURE_SIZES};
constexpr int kBytesPerPixel = 4;

}  // namespace

// Each picture is kept in every size as the bare pixels the build drew from its SVG
// ("save-16.argb": square, premultiplied ARGB), stored uncompressed in the program, so that
// an image is made straight over them.
QIcon picture(const QString& name) {
    QIcon icon;
    for (const int side : kSizes) {
        const QResource pixels(QStringLiteral(":/pictures/%1-%2.argb").arg(name).arg(side));
        if (pixels.size() != qint64{side} * side * kBytesPerPixel) {
            continue;
        }
        const QByteArray bytes =
            pixels.compressionAlgorithm() == QResource::NoCompression
                ? QByteArray::fromRawData(reinterpret_cast<const char*>(pixels.data()),
                                          static_cast<qsizetype>(pixels.size()))
                : pixels.uncompressedData();
        const QImage image(reinterpret_cast<const uchar*>(bytes.constData()), side, side,
                           side * kBytesPerPixel, QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace ui
