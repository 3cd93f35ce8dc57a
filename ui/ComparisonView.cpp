#include "ComparisonView.h"

#include <algorithm>
#include <utility>

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace ui {

namespace {

constexpr int kTitleColumn = 0;
constexpr int kRecordNameColumn = 1;
constexpr int kFirstRecordColumn = 2;

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

// The rows' texts are made once, when the comparison is set: the view asks for them at
// every paint.
class ComparisonModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setComparison(std::vector<pilot::RecordItem> items, std::vector<ComparedRecord> records) {
        beginResetModel();
        m_items = std::move(items);
        m_headers = {QStringLiteral("Field"), QStringLiteral("In the record")};
        for (const ComparedRecord& record : records) {
            m_headers.append(record.title);
        }
        m_texts.clear();
        m_texts.reserve(m_items.size());
        for (const pilot::RecordItem& item : m_items) {
            QStringList row = {text(pilot::itemTitle(item)), text(pilot::itemRecordName(item))};
            for (const ComparedRecord& record : records) {
                row.append(text(pilot::itemText(record.record, item)));
            }
            m_texts.push_back(std::move(row));
        }
        endResetModel();
    }

    [[nodiscard]] const pilot::RecordItem& item(int row) const {
        return m_items[static_cast<std::size_t>(row)];
    }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_items.size());
    }
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
    }
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
            return {};
        }
        return m_texts[static_cast<std::size_t>(index.row())].value(index.column());
    }
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return {};
        }
        return m_headers.value(section);
    }

private:
    std::vector<pilot::RecordItem> m_items;
    QStringList m_headers;
    std::vector<QStringList> m_texts;
};

// Shows the rows whose title or record name holds the filter's text, in any case.
class NameFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setText(const QString& text) {
        m_text = text.trimmed();
        invalidateRowsFilter();
    }

protected:
    [[nodiscard]] bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (m_text.isEmpty()) {
            return true;
        }
        for (const int column : {kTitleColumn, kRecordNameColumn}) {
            const QString shown = sourceModel()->index(row, column, parent).data().toString();
            if (shown.contains(m_text, Qt::CaseInsensitive)) {
                return true;
            }
        }
        return false;
    }

private:
    QString m_text;
};

void setUpFieldTable(QTableView& table) {
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::ExtendedSelection);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setAlternatingRowColors(true);
    table.setWordWrap(false);
    table.setTabKeyNavigation(false);
    table.verticalHeader()->hide();
    // Rows as high as a line of text needs, as in the version list, not a style's default.
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().lineSpacing() + 6);
    table.horizontalHeader()->setStretchLastSection(true);
}

ComparisonView::ComparisonView(QWidget* parent)
    : QWidget(parent), m_model(new ComparisonModel(this)), m_filter(new NameFilter(this)) {
    setObjectName(QStringLiteral("ComparisonView"));
    m_filter->setSourceModel(m_model);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(QStringLiteral("F&ilter by name:"), this);
    m_filterEdit = new QLineEdit(this);
    m_filterEdit->setObjectName(QStringLiteral("ComparisonFilter"));
    m_filterEdit->setClearButtonEnabled(true);
    m_filterEdit->setPlaceholderText(QStringLiteral("battle 4, score, Kills, ShipKills[4]"));
    filterLabel->setBuddy(m_filterEdit);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filterEdit, 1);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("DifferenceCount"));
    filterRow->addWidget(m_count);
    layout->addLayout(filterRow);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("ComparisonTable"));
    m_table->setAccessibleName(QStringLiteral("Fields that differ"));
    m_table->setModel(m_filter);
    setUpFieldTable(*m_table);
    layout->addWidget(m_table, 1);

    m_buttons = new QHBoxLayout;
    auto* previous = new QPushButton(QStringLiteral("&Previous difference"), this);
    previous->setObjectName(QStringLiteral("PreviousDifferenceButton"));
    auto* next = new QPushButton(QStringLiteral("&Next difference"), this);
    next->setObjectName(QStringLiteral("NextDifferenceButton"));
    for (QPushButton* button : {previous, next}) {
        button->setAutoDefault(false);
        m_buttons->addWidget(button);
    }
    m_buttons->addStretch();
    layout->addLayout(m_buttons);

    connect(previous, &QPushButton::clicked, this, &ComparisonView::previousDifference);
    connect(next, &QPushButton::clicked, this, &ComparisonView::nextDifference);
    connect(m_filterEdit, &QLineEdit::textChanged, this, [this](const QString& filter) {
        m_filter->setText(filter);
        showCount();
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ComparisonView::selectionChanged);
    showCount();
}

ComparisonView::~ComparisonView() = default;

void ComparisonView::setComparison(std::vector<pilot::RecordItem> items,
                                   std::vector<ComparedRecord> records) {
    m_model->setComparison(std::move(items), std::move(records));
    m_table->resizeColumnsToContents();
    showCount();
    selectionChanged();
}

QPushButton* ComparisonView::addAction(const QString& text, const QString& objectName, Act act) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setEnabled(false);
    m_buttons->addWidget(button);
    m_actions.push_back(button);
    connect(button, &QPushButton::clicked, this, [this, act = std::move(act)] {
        const auto selected = selectedItems();
        if (!selected.empty()) {
            act(selected);
        }
    });
    return button;
}

std::vector<pilot::RecordItem> ComparisonView::selectedItems() const {
    std::vector<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        rows.push_back(m_filter->mapToSource(index).row());
    }
    std::sort(rows.begin(), rows.end());
    std::vector<pilot::RecordItem> items;
    for (const int row : rows) {
        items.push_back(m_model->item(row));
    }
    return items;
}

void ComparisonView::nextDifference() {
    step(1);
}

void ComparisonView::previousDifference() {
    step(-1);
}

// From no current row, the first step goes to the first or the last row.
void ComparisonView::step(int rows) {
    const int count = m_filter->rowCount();
    if (count == 0) {
        return;
    }
    const QModelIndex current = m_table->currentIndex();
    const int row = current.isValid() ? std::clamp(current.row() + rows, 0, count - 1)
                                      : (rows > 0 ? 0 : count - 1);
    const QModelIndex target = m_filter->index(row, kTitleColumn);
    m_table->selectionModel()->setCurrentIndex(
        target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_table->scrollTo(target);
}

void ComparisonView::selectionChanged() {
    const bool any = m_table->selectionModel()->hasSelection();
    for (QPushButton* button : m_actions) {
        button->setEnabled(any);
    }
}

void ComparisonView::showCount() {
    const int all = m_model->rowCount();
    const int shown = m_filter->rowCount();
    if (all == 0) {
        m_count->setText(QStringLiteral("No field differs"));
    } else if (shown == all) {
        m_count->setText(all == 1 ? QStringLiteral("1 field differs")
                                  : QStringLiteral("%1 fields differ").arg(all));
    } else {
        m_count->setText(QStringLiteral("%1 of %2 differing fields shown").arg(shown).arg(all));
    }
}

}  // namespace ui
