// Renders the application icon from its SVG into the PNG sizes of the hicolor theme:
//   render-icon ICON.svg OUTDIR NAME SIZE...  writes OUTDIR/<SIZE>x<SIZE>/apps/NAME.png
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: render-icon ICON.svg OUTDIR NAME SIZE...\n", stderr);
        return EXIT_FAILURE;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: %s is no SVG picture\n", argv[1]);
        return EXIT_FAILURE;
    }
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "render-icon: %s is no size\n", argv[i]);
            return EXIT_FAILURE;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, name);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", file.toLocal8Bit().constData());
            return EXIT_FAILURE;
        }
    }
    return EXIT_SUCCESS;
}
