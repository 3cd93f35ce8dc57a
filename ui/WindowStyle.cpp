#include "WindowStyle.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace ui {

namespace {

// How far the outline of a box, a radio button or an edit stands from the window colour
// towards the text colour. Fusion derives it from the window colour alone, a little darker,
// which a dark palette turns into an outline as dark as the field it surrounds.
constexpr float kOutlineShare = 0.5F;
// Fusion's outline is the window colour darker by this factor.
constexpr int kFusionOutlineDarkness = 140;

// Fusion with two habits the windows need under any palette and keyboard:
// - the outline of check boxes, radio buttons and edits between the window and its text
//   colour, so that they stand out from window and field under a light and a dark palette;
// - the menu bar's entry that the keyboard selects (after Alt) drawn as selected, where
//   Fusion marks an entry only while its menu is open.
class WindowStyle final : public QProxyStyle {
public:
    WindowStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        switch (element) {
            case PE_IndicatorCheckBox:
            case PE_IndicatorRadioButton:
                if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                    QStyleOptionButton outlined = *button;
                    outlined.palette = outlinedPalette(button->palette);
                    QProxyStyle::drawPrimitive(element, &outlined, painter, widget);
                    return;
                }
                break;
            case PE_FrameLineEdit:
                if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option)) {
                    QStyleOptionFrame outlined = *frame;
                    outlined.palette = outlinedPalette(frame->palette);
                    QProxyStyle::drawPrimitive(element, &outlined, painter, widget);
                    return;
                }
                break;
            default:
                break;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuBarItem && widget != nullptr && widget->hasFocus() &&
            (option->state & State_Selected) != 0) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QStyleOptionMenuItem selected = *item;
                selected.state |= State_Sunken;
                QProxyStyle::drawControl(element, &selected, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    // The palette under which Fusion draws the outline wanted: its outline is the window
    // colour made darker, so the window colour is set to the outline made lighter.
    static QPalette outlinedPalette(QPalette palette) {
        const QColor outline = mixedColour(palette.color(QPalette::Window),
                                           palette.color(QPalette::WindowText), kOutlineShare);
        palette.setColor(QPalette::Window, outline.lighter(kFusionOutlineDarkness));
        return palette;
    }
};

}  // namespace

QColor mixedColour(const QColor& from, const QColor& to, float share) {
    const auto channel = [share](float a, float b) { return a + (b - a) * share; };
    return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                            channel(from.blueF(), to.blueF()));
}

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
    QApplication::setStyle(new WindowStyle);
}

}  // namespace ui
