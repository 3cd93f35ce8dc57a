#include "ConflictDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ComparisonView.h"
#include "WindowStyle.h"

namespace ui {

namespace {

enum Column { kField, kRecordName, kBase, kMine, kTheirs, kMerged, kColumns };

constexpr int kWidth = 700;
constexpr int kHeight = 360;

QPushButton* addButton(QHBoxLayout& row, const QString& text, const char* name,
                       const QString& tip) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAutoDefault(false);
    row.addWidget(button);
    return button;
}

}  // namespace

ConflictDialog::ConflictDialog(std::vector<ConflictRow> rows, QWidget* parent)
    : QDialog(parent), m_rows(std::move(rows)), m_theirs(m_rows.size(), false) {
    setObjectName(QStringLiteral("ConflictDialog"));
    setWindowTitle(QStringLiteral("Merge: Fields Changed on Both Sides"));
    setFont(windowFont(kWindowFontPixels));
    resize(kWidth, kHeight);

    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("You and another program changed these fields differently. Choose for "
                       "each which value the pilot keeps; everything else is merged already."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_table = new QTableWidget(static_cast<int>(m_rows.size()), kColumns, this);
    m_table->setObjectName(QStringLiteral("ConflictTable"));
    m_table->setAccessibleName(QStringLiteral("Fields changed on both sides"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Field"), QStringLiteral("In the record"),
                                        QStringLiteral("Before"), QStringLiteral("Mine"),
                                        QStringLiteral("Theirs"), QStringLiteral("Merged")});
    setUpFieldTable(*m_table);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const ConflictRow& conflict = m_rows[static_cast<std::size_t>(row)];
        const QString texts[] = {conflict.field, conflict.recordName, conflict.base, conflict.mine,
                                 conflict.theirs};
        for (int column = kField; column < kMerged; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setToolTip(texts[column]);
            m_table->setItem(row, column, item);
        }
        m_table->setItem(row, kMerged, new QTableWidgetItem());
        showChoice(row);
    }
    m_table->resizeColumnsToContents();
    layout->addWidget(m_table, 1);

    auto* choices = new QHBoxLayout;
    auto* keepMine = addButton(*choices, QStringLiteral("&Keep Mine"), "KeepMineButton",
                               QStringLiteral("The selected fields keep your values"));
    auto* takeTheirs = addButton(*choices, QStringLiteral("&Take Theirs"), "TakeTheirsButton",
                                 QStringLiteral("The selected fields take the other program's"));
    choices->addStretch(1);
    auto* allMine = addButton(*choices, QStringLiteral("Keep Mine for &All"), "KeepAllMineButton",
                              QStringLiteral("Every field keeps your value"));
    auto* allTheirs =
        addButton(*choices, QStringLiteral("Take Theirs for A&ll"), "TakeAllTheirsButton",
                  QStringLiteral("Every field takes the other program's value"));
    layout->addLayout(choices);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("ConflictButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(mergeCaption());
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("MergeConflictsButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
    layout->addWidget(buttons);

    connect(keepMine, &QPushButton::clicked, this, [this] { choose(false, false); });
    connect(takeTheirs, &QPushButton::clicked, this, [this] { choose(true, false); });
    connect(allMine, &QPushButton::clicked, this, [this] { choose(false, true); });
    connect(allTheirs, &QPushButton::clicked, this, [this] { choose(true, true); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    if (m_table->rowCount() > 0) {
        m_table->selectRow(0);
    }
    m_table->setFocus();
}

void ConflictDialog::choose(bool theirs, bool everyRow) {
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (everyRow || m_table->selectionModel()->isRowSelected(row, {})) {
            m_theirs[static_cast<std::size_t>(row)] = theirs;
            showChoice(row);
        }
    }
}

// The merged value, and the chosen side's value in bold.
void ConflictDialog::showChoice(int row) {
    const bool theirs = m_theirs[static_cast<std::size_t>(row)];
    const ConflictRow& conflict = m_rows[static_cast<std::size_t>(row)];
    m_table->item(row, kMerged)
        ->setText(theirs ? conflict.theirs + QStringLiteral(" (theirs)")
                         : conflict.mine + QStringLiteral(" (mine)"));
    for (const int column : {kMine, kTheirs}) {
        QTableWidgetItem* item = m_table->item(row, column);
        QFont font = item->font();
        font.setBold((column == kTheirs) == theirs);
        item->setFont(font);
    }
}

}  // namespace ui
