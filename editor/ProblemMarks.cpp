#include "ProblemMarks.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

#include "FieldPlaces.h"
#include "MarkPainting.h"
#include "PilotRecord.h"
#include "RecordItems.h"

namespace editor {

namespace {

// A hint names a few problems; the list has them all.
constexpr qsizetype kHintMessages = 5;

pilot::Severity worse(pilot::Severity a, pilot::Severity b) {
    return std::min(a, b);  // errors come first
}

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ProblemMarks::ProblemMarks(const pilot::PilotRecord& record, const FieldMap& places,
                           QLabel& countPanel, QObject* parent)
    : QObject(parent), m_record(record), m_places(places), m_countPanel(countPanel) {
    m_countPanel.installEventFilter(this);
}

// Most edits change no problem and choose no other entry: then nothing is marked anew.
void ProblemMarks::update() {
    std::vector<pilot::Problem> problems = pilot::checkRecord(m_record);
    problems.insert(problems.end(), m_corrections.begin(), m_corrections.end());
    const bool sameEntries = std::ranges::all_of(
        m_entriesSeen, [](const auto& seen) { return seen.first->currentIndex() == seen.second; });
    if (problems == m_problems && sameEntries) {
        return;
    }
    if (problems != m_problems) {
        m_problems = std::move(problems);
        showCount();
        Q_EMIT problemsChanged();
    }
    Marks marks;
    EntryMarks entries;
    markPlaces(marks, entries);
    if (marks != m_marks || entries != m_entryMarks) {
        showMarks(std::move(marks), std::move(entries));
    }
}

// Each value opening changed is named in check's words for the value as the file holds it,
// where check says anything of it, and as a change otherwise. Its remedy is done already.
void ProblemMarks::setCorrections(const pilot::PilotRecord& loaded,
                                  const pilot::PilotRecord& shown) {
    m_corrections.clear();
    const std::vector<pilot::Problem> inTheFile = pilot::checkRecord(loaded);
    for (const pilot::RecordItem& item : pilot::differences(loaded, shown)) {
        const auto said = std::ranges::find_if(inTheFile, [&](const pilot::Problem& problem) {
            return !problem.elements.empty() && problem.elements.front() == item.path;
        });
        const std::string message =
            said != inTheFile.end()
                ? said->message + ". Opening changed it; Save writes it."
                : "Opening changed " + pilot::itemChange(loaded, shown, item) + ". Save writes it.";
        m_corrections.push_back({pilot::Severity::Warning, {item.path}, message});
    }
    update();
}

void ProblemMarks::clearCorrections() {
    m_corrections.clear();
    update();
}

// Each problem marks the controls of its elements, or the first selector in front of them
// whose entry is not the one shown, and that entry. The selectors' entries looked at are
// kept: the marks change with them.
void ProblemMarks::markPlaces(Marks& marks, EntryMarks& entries) {
    m_entriesSeen.clear();
    for (const pilot::Problem& problem : m_problems) {
        const QString message = qtext(problem.message);
        const auto mark = [&](QWidget* control) {
            auto [it, added] = marks.try_emplace(control, Mark{problem.severity, {}});
            it->second.severity = worse(it->second.severity, problem.severity);
            if (!it->second.messages.contains(message)) {
                it->second.messages.append(message);
            }
        };
        for (const pilot::ElementPath& path : problem.elements) {
            const auto place = m_places.placeOf(path);
            if (!place) {
                continue;  // a spare craft slot: only the list names it
            }
            for (const Selection& selection : place->selections) {
                m_entriesSeen.emplace(selection.selector, selection.selector->currentIndex());
            }
            if (const Selection* hidden = place->hiddenBehind()) {
                const auto entry = std::make_pair(hidden->selector, hidden->entry);
                const auto found = entries.find(entry);
                entries[entry] = found == entries.end() ? problem.severity
                                                        : worse(found->second, problem.severity);
                mark(hidden->selector);
            } else {
                std::ranges::for_each(place->controls, mark);
            }
        }
    }
}

void ProblemMarks::showMarks(Marks marks, EntryMarks entries) {
    for (const auto& [control, mark] : m_marks) {
        if (!marks.contains(control)) {
            showHint(control, nullptr);
        }
    }
    std::map<QWidget*, MarkOverlay::Marks> byGroup;
    for (const auto& [group, overlay] : m_overlays) {
        byGroup[group];  // a group whose marks all went is cleared too
    }
    for (const auto& [control, mark] : marks) {
        if (const auto old = m_marks.find(control); old == m_marks.end() || old->second != mark) {
            showHint(control, &mark);
        }
        byGroup[control->parentWidget()].emplace_back(control, mark.severity);
    }
    for (auto& [group, groupMarks] : byGroup) {
        auto& overlay = m_overlays[group];
        if (overlay == nullptr) {
            overlay = new MarkOverlay(group);
            overlay->show();
        }
        overlay->setMarks(std::move(groupMarks));
    }

    for (const auto& [entry, severity] : m_entryMarks) {
        if (!entries.contains(entry)) {
            entry.first->setItemData(entry.second, QVariant(), Qt::DecorationRole);
        }
    }
    for (const auto& [entry, severity] : entries) {
        if (const auto old = m_entryMarks.find(entry);
            old == m_entryMarks.end() || old->second != severity) {
            entry.first->setItemIcon(entry.second, icon(severity));
        }
    }
    m_marks = std::move(marks);
    m_entryMarks = std::move(entries);
}

const QIcon& ProblemMarks::icon(pilot::Severity severity) {
    QIcon& made = m_icons[static_cast<std::size_t>(severity)];
    if (made.isNull()) {
        made = severityIcon(m_countPanel.palette(), severity);
    }
    return made;
}

// The control's own hint, then the messages; the plain hint again once the problems went.
void ProblemMarks::showHint(QWidget* control, const Mark* mark) {
    const auto [it, first] = m_hints.try_emplace(control, control->toolTip());
    if (mark == nullptr) {
        control->setToolTip(it->second);
        m_hints.erase(it);
        return;
    }
    QStringList lines;
    if (!it->second.isEmpty()) {
        lines.append(it->second);
    }
    lines.append(mark->messages.mid(0, kHintMessages));
    if (mark->messages.size() > kHintMessages) {
        lines.append(QStringLiteral("and %1 more").arg(mark->messages.size() - kHintMessages));
    }
    control->setToolTip(lines.join(QLatin1Char('\n')));
}

void ProblemMarks::showCount() {
    const auto count = m_problems.size();
    m_countPanel.setText(count == 0   ? QString()
                         : count == 1 ? QStringLiteral("1 problem")
                                      : QStringLiteral("%1 problems").arg(count));
    m_countPanel.setCursor(count == 0 ? Qt::ArrowCursor : Qt::PointingHandCursor);
    // A screen reader hears the count, and what a click does.
    m_countPanel.setAccessibleName(count == 0 ? QStringLiteral("Third status panel, empty")
                                              : m_countPanel.text() + QStringLiteral(", listed "
                                                                                     "on a click"));
}

bool ProblemMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_countPanel && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Q_EMIT listRequested();
        return true;
    }
    return false;
}

}  // namespace editor
