#include "Pictures.h"

#include <array>

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The pictures live in the static uikit library, whose resources are linked in only when
// something refers to them.
static void registerPictures() {
    Q_INIT_RESOURCE(uikit);
}

namespace ui {

QIcon picture(const QString& name) {
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    QIcon icon;
    for (const int size : std::array{16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace ui
