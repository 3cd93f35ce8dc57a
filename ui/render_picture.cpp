// Draws one of the program's SVG pictures into files at build time:
//   render-picture PICTURE.svg PATTERN SIZE...
// writes one square picture per size to PATTERN with every "%1" replaced by the size, making
// the folders it needs. A name ending in ".png" gets a PNG file (the desktop's icons:
// "icons/%1x%1/apps/brevanta.png"); one ending in ".argb" gets the bare pixels, rows of
// premultiplied 32-bit ARGB in the machine's byte order, which the program shows without
// decoding anything ("pictures/save-%1.argb").
#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

namespace {

bool save(const QImage& image, const QString& file) {
    if (!file.endsWith(QStringLiteral(".argb"))) {
        return image.save(file, "PNG");
    }
    QFile out(file);
    const auto bytes = static_cast<qint64>(image.sizeInBytes());
    return out.open(QIODevice::WriteOnly) &&
           out.write(reinterpret_cast<const char*>(image.constBits()), bytes) == bytes &&
           out.flush();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: render-picture PICTURE.svg PATTERN SIZE...\n", stderr);
        return EXIT_FAILURE;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-picture: %s is no SVG picture\n", argv[1]);
        return EXIT_FAILURE;
    }
    const QString pattern = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "render-picture: %s is no size\n", argv[i]);
            return EXIT_FAILURE;
        }
        const QString file = pattern.arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(QFileInfo(file).path()) || !save(image, file)) {
            std::fprintf(stderr, "render-picture: cannot write %s\n",
                         file.toLocal8Bit().constData());
            return EXIT_FAILURE;
        }
    }
    return EXIT_SUCCESS;
}
