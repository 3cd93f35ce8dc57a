#include "WindowStyle.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace ui {

QFont windowFont(int pixels) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    return font;
}

void useFixedStyle() {
    // Fusion reads the screen's resolution from this attribute each time it measures; the
    // fonts of the windows are set in pixels and do not depend on it, while dialogs and
    // menus keep the desktop's font size.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    // A style set by the application keeps the desktop's palette (or one the application
    // set before) rather than the style's own.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

}  // namespace ui
