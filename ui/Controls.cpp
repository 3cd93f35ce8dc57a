#include "Controls.h"

#include <algorithm>
#include <vector>

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include "FieldTable.h"

namespace ui {

namespace {

// Font stretch in percent: from the font's own width down to two thirds of it.
constexpr int kFullStretch = 100;
constexpr int kNarrowestStretch = 66;

}  // namespace

QStringList entryTexts(std::span<const std::string_view> names) {
    QStringList texts;
    for (const auto name : names) {
        texts.append(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    return texts;
}

QStringList craftEntries() {
    return entryTexts(pilot::kCraftNames);
}

QStringList battleEntries() {
    QStringList battles;
    for (std::size_t battle = 1; battle <= pilot::kBattles; ++battle) {
        battles.append(QStringLiteral("Battle %1").arg(battle, 2));
    }
    return battles;
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

void selectEntry(QComboBox& box, std::optional<std::size_t> entry) {
    const bool listed = entry && *entry < static_cast<std::size_t>(box.count());
    box.setCurrentIndex(listed ? static_cast<int>(*entry) : -1);
}

void chooseEntry(QComboBox& box, int entry) {
    box.setCurrentIndex(entry);
    Q_EMIT box.activated(entry);
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

void condenseToFit(std::span<QLabel* const> labels, const QFont& font) {
    // Most names fit the font as it is, whose glyphs the whole group uses anyway. The others
    // share one narrower stretch: each stretch is a font of its own to look up and load.
    std::vector<QLabel*> tooWide;
    int stretch = kFullStretch;
    const QFontMetrics natural(font);
    for (QLabel* label : labels) {
        const int room = label->contentsRect().width();
        const int width = natural.horizontalAdvance(shownText(*label));
        if (width > room) {
            tooWide.push_back(label);
            // The advance shrinks about in proportion to the stretch.
            stretch = std::min(stretch, kFullStretch * room / width);
        } else if (label->testAttribute(Qt::WA_SetFont)) {
            label->setFont(QFont());  // narrowed for an earlier font: inherit it whole again
        }
    }
    if (tooWide.empty()) {
        return;
    }
    // Rounding may want a step less than the estimate.
    QFont narrowed;
    for (stretch = std::max(stretch, kNarrowestStretch);; --stretch) {
        QFont probe = font;
        probe.setStretch(stretch);
        const QFontMetrics metrics(probe);
        const bool allFit = std::ranges::all_of(tooWide, [&metrics](const QLabel* label) {
            return metrics.horizontalAdvance(shownText(*label)) <= label->contentsRect().width();
        });
        if (allFit || stretch == kNarrowestStretch) {
            break;
        }
    }
    narrowed.setStretch(stretch);
    for (QLabel* label : tooWide) {
        label->setFont(narrowed);
    }
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, const QString& tooltip,
                    const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(tooltip);
    edit->setGeometry(geometry);
    return edit;
}

}  // namespace ui
