#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QWidget>

#include "PilotRecord.h"
#include "RecordItems.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QHBoxLayout;
class QTableView;

namespace ui {

// A record the comparison shows in a column of its own, under its title ("Kept version",
// "Shown now").
struct ComparedRecord {
    QString title;
    pilot::PilotRecord record;
};

class ComparisonModel;
class NameFilter;

// A table of the record's fields, a row each, as the comparison shows them: whole rows
// selected, nothing edited in place, rows as high as a line of text.
void setUpFieldTable(QTableView& table);

// Items of the record side by side in any number of records: each row names an item as the
// editor window names it ("Battle 4, mission 3: score"), with its name in the record beside
// it ("BattleMissionScore[3][2]"), and shows its value in each record as the window shows
// it (ranks and states by their text, goals as ticks, reserved bytes in hex). The rows can
// be filtered by name and walked one after the other; the buttons its user adds act on the
// selected rows.
class ComparisonView : public QWidget {
    Q_OBJECT
public:
    using Act = std::function<void(const std::vector<pilot::RecordItem>& selected)>;

    explicit ComparisonView(QWidget* parent = nullptr);
    ~ComparisonView() override;

    // Shows the items (usually the differences of the records) in the records.
    void setComparison(std::vector<pilot::RecordItem> items, std::vector<ComparedRecord> records);
    // Adds a button beside the walk that hands the selected items to `act`; it is enabled
    // while a row is selected.
    QPushButton* addAction(const QString& text, const QString& objectName, Act act);

    // The items of the selected rows, in file order.
    [[nodiscard]] std::vector<pilot::RecordItem> selectedItems() const;

    // Selects the row after (or before) the current one among those the filter shows.
    void nextDifference();
    void previousDifference();

private:
    void step(int rows);
    void selectionChanged();
    void showCount();

    ComparisonModel* m_model = nullptr;
    NameFilter* m_filter = nullptr;
    QLineEdit* m_filterEdit = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_count = nullptr;
    QHBoxLayout* m_buttons = nullptr;
    std::vector<QPushButton*> m_actions;
};

}  // namespace ui
