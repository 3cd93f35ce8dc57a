#include "ProblemsDialog.h"

#include <algorithm>
#include <array>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ElementNames.h"
#include "FieldPlaces.h"
#include "MarkPainting.h"
#include "WindowStyle.h"

namespace editor {

namespace {

enum Column { kSeverityColumn, kFieldColumn, kMessageColumn, kColumnCount };
constexpr int kFieldColumnWidth = 200;

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

// "Error", "Warning".
QString severityText(pilot::Severity severity) {
    QString name = qtext(std::string(pilot::severityName(severity)));
    name[0] = name[0].toUpper();
    return name;
}

QString fixText(pilot::Fix fix) {
    switch (fix) {
        case pilot::Fix::RecomputeTotalScore:
            return QStringLiteral("Recompute Total Score");
        case pilot::Fix::RecomputeKills:
            return QStringLiteral("Recompute Kills");
        case pilot::Fix::None:
            break;
    }
    return {};
}

}  // namespace

ProblemsDialog::ProblemsDialog(const FieldMap& places, QWidget* parent)
    : QDialog(parent), m_places(places) {
    setObjectName(QStringLiteral("ProblemsDialog"));
    setWindowTitle(QStringLiteral("Problems"));
    setFont(ui::windowFont(ui::kWindowFontPixels));
    auto* layout = new QVBoxLayout(this);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ProblemsList"));
    m_list->setAccessibleName(QStringLiteral("Problems"));
    m_list->setColumnCount(kColumnCount);
    m_list->setHeaderLabels(
        {QStringLiteral("Severity"), QStringLiteral("Field"), QStringLiteral("Message")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(true);
    layout->addWidget(m_list, 1);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("ProblemNote"));
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    auto* buttons = new QDialogButtonBox(this);
    m_goTo = buttons->addButton(QStringLiteral("&Go to Field"), QDialogButtonBox::ActionRole);
    m_goTo->setObjectName(QStringLiteral("GoToProblemButton"));
    m_fix = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_fix->setObjectName(QStringLiteral("FixProblemButton"));
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("CloseProblemsButton"));
    layout->addWidget(buttons);
    // Enter belongs to the list: it goes to the field of the row, and to no button besides.
    for (QPushButton* button : {m_goTo, m_fix, close}) {
        button->setAutoDefault(false);
    }

    // Queued: going to a field may change the problems, and so this list, which must not
    // change under its own signal.
    connect(m_list, &QTreeWidget::itemActivated, this, &ProblemsDialog::goToCurrent,
            Qt::QueuedConnection);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &ProblemsDialog::showCurrent);
    connect(m_goTo, &QPushButton::clicked, this, &ProblemsDialog::goToCurrent);
    connect(m_fix, &QPushButton::clicked, this, &ProblemsDialog::fixCurrent);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(720, 280);
}

// The row that was current stays current, as far as the list still reaches.
void ProblemsDialog::setProblems(const std::vector<pilot::Problem>& problems) {
    const int current = m_list->currentIndex().row();
    m_problems = problems;
    m_list->clear();
    const std::array icons = {severityIcon(palette(), pilot::Severity::Error),
                              severityIcon(palette(), pilot::Severity::Warning)};
    for (const pilot::Problem& problem : m_problems) {
        auto* row = new QTreeWidgetItem(m_list);
        row->setIcon(kSeverityColumn, icons[static_cast<std::size_t>(problem.severity)]);
        row->setText(kSeverityColumn, severityText(problem.severity));
        row->setText(kFieldColumn, qtext(pilot::elementTitle(problem.elements.front())));
        row->setText(kMessageColumn, qtext(problem.message));
        row->setToolTip(kMessageColumn, qtext(problem.message));
    }
    // The field's title stands in the message too: the message gets the room.
    for (const int column : {kSeverityColumn, kFieldColumn}) {
        m_list->resizeColumnToContents(column);
    }
    m_list->setColumnWidth(kFieldColumn,
                           std::min(m_list->columnWidth(kFieldColumn), kFieldColumnWidth));
    if (!m_problems.empty()) {
        m_list->setCurrentItem(
            m_list->topLevelItem(std::clamp(current, 0, static_cast<int>(m_problems.size()) - 1)));
    }
    showCurrent();
}

const pilot::Problem* ProblemsDialog::currentProblem() const {
    const int row = m_list->currentIndex().row();
    if (row < 0 || static_cast<std::size_t>(row) >= m_problems.size()) {
        return nullptr;
    }
    return &m_problems[static_cast<std::size_t>(row)];
}

void ProblemsDialog::showCurrent() {
    const pilot::Problem* problem = currentProblem();
    const bool reachable = problem != nullptr && m_places.placeOf(problem->elements.front());
    m_goTo->setEnabled(reachable);
    if (problem == nullptr) {
        m_note->setText(m_problems.empty() ? QStringLiteral("The pilot has no problems.")
                                           : QString());
    } else if (!reachable) {
        m_note->setText(
            QStringLiteral("No field of the window shows %1; the command line reaches it as %2.")
                .arg(qtext(pilot::elementTitle(problem->elements.front())),
                     qtext(pilot::pathName(problem->elements.front()))));
    } else {
        m_note->clear();
    }
    const pilot::Fix fix = problem != nullptr ? problem->fix : pilot::Fix::None;
    m_fix->setText(fixText(fix));
    m_fix->setVisible(fix != pilot::Fix::None);
}

void ProblemsDialog::goToCurrent() {
    if (const pilot::Problem* problem = currentProblem()) {
        if (const auto place = m_places.placeOf(problem->elements.front())) {
            place->reach();
        }
    }
}

void ProblemsDialog::fixCurrent() {
    if (const pilot::Problem* problem = currentProblem();
        problem && problem->fix != pilot::Fix::None) {
        Q_EMIT fixRequested(problem->fix, fixText(problem->fix));
    }
}

}  // namespace editor
