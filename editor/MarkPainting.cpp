#include "MarkPainting.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace editor {

namespace {

constexpr double kMarkContrast = 3.0;
constexpr int kFrameWidth = 2;
constexpr int kIconSize = 16;

// Relative luminance as the accessibility guidelines define it.
double luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& first, const QColor& second) {
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QPixmap iconPixmap(const QColor& colour, pilot::Severity severity, qreal ratio) {
    QPixmap pixmap(QSize(kIconSize, kIconSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    if (severity == pilot::Severity::Error) {
        painter.drawEllipse(QRectF(2, 2, 12, 12));
    } else {
        QPainterPath triangle;
        triangle.moveTo(8, 1.5);
        triangle.lineTo(15, 14.5);
        triangle.lineTo(1, 14.5);
        triangle.closeSubpath();
        painter.drawPath(triangle);
    }
    return pixmap;
}

}  // namespace

QColor markColour(const QPalette& palette, pilot::Severity severity) {
    const std::array backgrounds = {palette.color(QPalette::Window), palette.color(QPalette::Base)};
    const bool dark = luminance(backgrounds[0]) < 0.2;
    const int hue = severity == pilot::Severity::Error ? 0 : 32;
    // From a strong middle tone towards white on a dark desktop, towards black on a light one.
    const int step = dark ? 8 : -8;
    int lightness = severity == pilot::Severity::Error ? (dark ? 160 : 110) : (dark ? 140 : 96);
    QColor colour = QColor::fromHsl(hue, 255, lightness);
    while (lightness > 0 && lightness < 255 &&
           std::ranges::any_of(backgrounds, [&colour](const QColor& background) {
               return contrast(colour, background) < kMarkContrast;
           })) {
        lightness = std::clamp(lightness + step, 0, 255);
        colour = QColor::fromHsl(hue, 255, lightness);
    }
    return colour;
}

QIcon severityIcon(const QPalette& palette, pilot::Severity severity) {
    const QColor colour = markColour(palette, severity);
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(iconPixmap(colour, severity, ratio));
    }
    return icon;
}

MarkOverlay::MarkOverlay(QWidget* group) : QWidget(group) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(group->rect());
    raise();
}

void MarkOverlay::setMarks(Marks marks) {
    if (marks != m_marks) {
        m_marks = std::move(marks);
        update();
    }
}

void MarkOverlay::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (const auto& [control, severity] : m_marks) {
        if (!control->isVisibleTo(parentWidget())) {
            continue;
        }
        QPen pen(markColour(palette(), severity), kFrameWidth);
        pen.setStyle(severity == pilot::Severity::Error ? Qt::SolidLine : Qt::DashLine);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QRectF frame = QRectF(control->geometry()).adjusted(1, 1, -1, -1);
        painter.drawRect(frame);
    }
}

}  // namespace editor
