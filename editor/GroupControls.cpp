#include "GroupControls.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

namespace editor {

namespace {

// Font stretch in percent: from the font's own width down to two thirds of it.
constexpr int kFullStretch = 100;
constexpr int kNarrowestStretch = 66;
constexpr int kStretchStep = 2;

}  // namespace

QStringList entryTexts(std::span<const std::string_view> names) {
    QStringList texts;
    for (const auto name : names) {
        texts.append(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    return texts;
}

QString entriesTooltip(const QString& header, const QStringList& entries) {
    QStringList lines{header};
    lines.append(entries);
    return lines.join(QLatin1Char('\n'));
}

QComboBox* makeSelector(QWidget* parent, const QString& name, const QStringList& entries,
                        const QString& placeholder, const QString& tooltip, const QRect& geometry) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    box->setPlaceholderText(placeholder);
    box->addItems(entries);
    // Without a placeholder the first insertion selects entry 0; the box starts empty.
    box->setCurrentIndex(-1);
    box->setToolTip(tooltip);
    box->setGeometry(geometry);
    return box;
}

std::optional<std::size_t> selectedEntry(const QComboBox& box) {
    const int index = box.currentIndex();
    if (index < 0 || index >= box.count()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

void showEntry(QComboBox& box, std::size_t value) {
    if (value < static_cast<std::size_t>(box.count())) {
        box.setCurrentIndex(static_cast<int>(value));
    }
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                  QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    label->setGeometry(geometry);
    return label;
}

QString nameFromLabel(const QString& label) {
    return label.endsWith(u':') ? label.chopped(1) : label;
}

QString shownText(const QLabel& label) {
    QString shown = label.text();
    shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return shown;
}

void condenseToFit(QLabel& label) {
    const QString shown = shownText(label);
    const int room = label.contentsRect().width();
    QFont font = label.font();
    int stretch = kFullStretch;
    for (; stretch > kNarrowestStretch; stretch -= kStretchStep) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(shown) <= room) {
            break;
        }
    }
    QFont narrowed;
    narrowed.setStretch(stretch);
    label.setFont(narrowed);
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, const QString& tooltip,
                    const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(tooltip);
    edit->setGeometry(geometry);
    return edit;
}

}  // namespace editor
