#pragma once

#include <array>
#include <map>
#include <utility>
#include <vector>

#include <QIcon>
#include <QObject>
#include <QString>
#include <QStringList>

#include "RecordChecks.h"

class QComboBox;
class QLabel;
class QWidget;
namespace pilot {
class PilotRecord;
}

namespace editor {

class FieldMap;
class MarkOverlay;

// What the window says of the problems of the record it holds. Each control whose item has
// a problem is marked and its hint is followed by the messages; a problem behind a selector
// (another battle, craft or mission) marks the selector and its entry instead; the status
// bar's third panel counts the problems, and a click on it asks for their list. The
// problems are the record's checks and the values the last load changed, which stay listed
// until the next load or save.
class ProblemMarks : public QObject {
    Q_OBJECT
public:
    ProblemMarks(const pilot::PilotRecord& record, const FieldMap& places, QLabel& countPanel,
                 QObject* parent);

    // Checks the record again and brings the marks up to date; changes nothing shown when
    // the problems and the selectors' entries are as they were.
    void update();
    // The values that showing the file's record (`loaded`) changed into `shown`.
    void setCorrections(const pilot::PilotRecord& loaded, const pilot::PilotRecord& shown);
    void clearCorrections();

    [[nodiscard]] const std::vector<pilot::Problem>& problems() const { return m_problems; }

Q_SIGNALS:
    // The list of problems differs from the one before.
    void problemsChanged();
    void listRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Mark {
        pilot::Severity severity = pilot::Severity::Warning;
        QStringList messages;
        friend bool operator==(const Mark&, const Mark&) = default;
    };
    using Marks = std::map<QWidget*, Mark>;
    using EntryMarks = std::map<std::pair<QComboBox*, int>, pilot::Severity>;

    void markPlaces(Marks& marks, EntryMarks& entries);
    void showMarks(Marks marks, EntryMarks entries);
    void showHint(QWidget* control, const Mark* mark);
    void showCount();
    // The picture of a severity for selector entries, made once.
    [[nodiscard]] const QIcon& icon(pilot::Severity severity);

    const pilot::PilotRecord& m_record;
    const FieldMap& m_places;
    QLabel& m_countPanel;
    std::vector<pilot::Problem> m_corrections;
    std::vector<pilot::Problem> m_problems;  // the checks', then the corrections
    Marks m_marks;
    EntryMarks m_entryMarks;
    std::map<QComboBox*, int> m_entriesSeen;      // the entries shown when the marks were placed
    std::map<QWidget*, QString> m_hints;          // the plain hints of the controls marked
    std::map<QWidget*, MarkOverlay*> m_overlays;  // by group, made when first needed
    std::array<QIcon, 2> m_icons;                 // by severity, made when first needed
};

}  // namespace editor
