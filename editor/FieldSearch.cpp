#include "FieldSearch.h"

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "Controls.h"

namespace editor {

namespace {

// The words of a name, in lower case: blanks and the marks around indices and titles part
// them, so "BattleMissionScore[3][2]" has three words and "Battle 4, mission 3: score" five;
// a shortcut's "&" parts nothing it would not part anyway.
QStringList wordsOf(const QString& text) {
    static const QString kSeparators = QStringLiteral(" \t,:;()[]&");
    QString lowered = text.toLower();
    for (QChar& character : lowered) {
        if (kSeparators.contains(character)) {
            character = u' ';
        }
    }
    return lowered.split(u' ', Qt::SkipEmptyParts);
}

bool begins(const QString& word, const QString& queried) {
    constexpr qsizetype kInnerWordLength = 3;
    return word.startsWith(queried) ||
           (queried.size() >= kInnerWordLength && word.contains(queried));
}

// How well the query's words match a name's: how many whole, how many of the name's words
// are left over.
struct Fit {
    qsizetype whole = 0;
    qsizetype leftOver = 0;

    [[nodiscard]] bool betterThan(const std::optional<Fit>& other) const {
        return !other || whole > other->whole ||
               (whole == other->whole && leftOver < other->leftOver);
    }
};

// The query's words in the name's order.
std::optional<Fit> fitInOrder(const QStringList& query, const QStringList& name) {
    Fit fit;
    qsizetype at = 0;
    for (const QString& queried : query) {
        while (at < name.size() && !begins(name[at], queried)) {
            ++at;
        }
        if (at == name.size()) {
            return std::nullopt;
        }
        fit.whole += name[at] == queried ? 1 : 0;
        ++at;
    }
    fit.leftOver = name.size() - query.size();
    return fit;
}

// Each query word takes a word of the name of its own, a whole one where there is one.
std::optional<Fit> fitInAnyOrder(const QStringList& query, const QStringList& name) {
    Fit fit;
    std::vector<bool> used(static_cast<std::size_t>(name.size()), false);
    for (const QString& queried : query) {
        qsizetype taken = -1;
        for (qsizetype at = 0; at < name.size(); ++at) {
            if (used[static_cast<std::size_t>(at)] || !begins(name[at], queried)) {
                continue;
            }
            taken = taken < 0 || name[at] == queried ? at : taken;
            if (name[at] == queried) {
                break;
            }
        }
        if (taken < 0) {
            return std::nullopt;
        }
        used[static_cast<std::size_t>(taken)] = true;
        fit.whole += name[taken] == queried ? 1 : 0;
    }
    fit.leftOver = name.size() - query.size();
    return fit;
}

bool isControl(const QWidget& widget) {
    return qobject_cast<const QLineEdit*>(&widget) != nullptr ||
           qobject_cast<const QComboBox*>(&widget) != nullptr ||
           qobject_cast<const QAbstractButton*>(&widget) != nullptr;
}

// A control's names: its object name, its accessible name and the label that names it.
QStringList namesOf(const QWidget& control) {
    QStringList names = {control.objectName(), control.accessibleName()};
    for (const QLabel* label :
         control.parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == &control) {
            names.append(ui::nameFromLabel(ui::shownText(*label)));
        }
    }
    names.removeAll(QString());
    names.removeDuplicates();
    return names;
}

// A target found by its title, its record name (none for a control of its own) and the
// names of its controls; the list shows the title, the record name and the first control.
FieldTarget targetOf(const QString& title, const QString& recordName, FieldPlace place) {
    QStringList names = {title, recordName};
    for (const QWidget* control : place.controls) {
        names.append(namesOf(*control));
    }
    names.removeAll(QString());
    names.removeDuplicates();
    QStringList shown = {recordName, place.controls.front()->objectName()};
    shown.removeAll(QString());
    FieldTarget target{title + QStringLiteral("  \u2014  ") + shown.join(QStringLiteral(", ")),
                       {},
                       std::move(place)};
    for (const QString& name : names) {
        target.keys.push_back(wordsOf(name));
    }
    return target;
}

// Whole words first, then fewer left over, then shown now, then the window's order.
template <typename FitOf>
std::vector<const FieldTarget*> ranked(const std::vector<FieldTarget>& targets,
                                       const QStringList& queried, FitOf fitOf) {
    using Rank = std::tuple<qsizetype, qsizetype, bool, std::size_t>;
    std::vector<std::pair<Rank, const FieldTarget*>> found;
    for (std::size_t index = 0; index < targets.size(); ++index) {
        const FieldTarget& target = targets[index];
        std::optional<Fit> best;
        for (const QStringList& key : target.keys) {
            const auto fit = fitOf(queried, key);
            if (fit && fit->betterThan(best)) {
                best = fit;
            }
        }
        if (best) {
            found.emplace_back(
                Rank{-best->whole, best->leftOver, target.place.hiddenBehind() != nullptr, index},
                &target);
        }
    }
    std::ranges::sort(found, {}, &std::pair<Rank, const FieldTarget*>::first);
    std::vector<const FieldTarget*> best;
    best.reserve(found.size());
    for (const auto& entry : found) {
        best.push_back(entry.second);
    }
    return best;
}

}  // namespace

FieldSearch::FieldSearch(const FieldMap& places, std::span<QWidget* const> groups) {
    std::set<const QWidget*> placed;
    pilot::forEachItem([&](const pilot::RecordItem& item) {
        const bool goalByte = item.kind == pilot::RecordItem::Kind::Element &&
                              pilot::editedAs(item.path.field, pilot::Editing::GoalBits);
        if (item.kind == pilot::RecordItem::Kind::ReservedByte || goalByte) {
            return;
        }
        if (auto place = places.placeOf(item)) {
            placed.insert(place->controls.begin(), place->controls.end());
            m_targets.push_back(targetOf(QString::fromStdString(pilot::itemTitle(item)),
                                         QString::fromStdString(pilot::itemRecordName(item)),
                                         std::move(*place)));
        }
    });
    for (QWidget* group : groups) {
        for (QWidget* control : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (isControl(*control) && !control->objectName().isEmpty() &&
                !placed.contains(control)) {
                const QStringList names = namesOf(*control);
                m_targets.push_back(
                    targetOf(names.value(1, names.front()), QString(), FieldPlace{{control}, {}}));
            }
        }
    }
}

// The names that hold the query's words in their order; only when none does, those that hold
// them in any order ("T/F kills" finds "Kills of T/F", while "battle 4 mission 3" never
// finds battle 3, mission 4).
std::vector<const FieldTarget*> FieldSearch::find(const QString& query, std::size_t most) const {
    const QStringList queried = wordsOf(query);
    auto found = ranked(m_targets, queried, fitInOrder);
    if (found.empty()) {
        found = ranked(m_targets, queried, fitInAnyOrder);
    }
    std::vector<const FieldTarget*> targets;
    for (std::size_t i = 0; i < found.size() && i < most; ++i) {
        targets.push_back(found[i]);
    }
    return targets;
}

}  // namespace editor
