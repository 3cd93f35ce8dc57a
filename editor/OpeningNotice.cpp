#include "OpeningNotice.h"

#include <algorithm>
#include <vector>

#include <QLabel>
#include <QPushButton>

#include "PilotRecord.h"
#include "RecordItems.h"

namespace editor {

namespace {

// The notice names this many values; the list of problems has them all.
constexpr std::size_t kNamedValues = 2;

QString noticeText(const pilot::PilotRecord& loaded, const pilot::PilotRecord& shown,
                   const std::vector<pilot::RecordItem>& changed) {
    QStringList named;
    for (std::size_t i = 0; i < changed.size() && i < kNamedValues; ++i) {
        named.append(QString::fromStdString(pilot::itemChange(loaded, shown, changed[i])));
    }
    QString text = changed.size() == 1
                       ? QStringLiteral("Opening changed 1 value: ")
                       : QStringLiteral("Opening changed %1 values: ").arg(changed.size());
    text += named.join(QStringLiteral(", "));
    if (changed.size() > kNamedValues) {
        text += QStringLiteral(" and %1 more").arg(changed.size() - kNamedValues);
    }
    text += changed.size() == 1 ? QStringLiteral(". Save writes it.")
                                : QStringLiteral(". Save writes them.");
    return text;
}

}  // namespace

OpeningNotice::OpeningNotice(QWidget* parent) : NoticeBar(QStringLiteral("OpeningNotice"), parent) {
    setAccessibleName(QStringLiteral("Values changed by opening"));
    m_text = addText("OpeningNoticeText");
    m_list = addButton(QStringLiteral("&Problems"), "NoticeProblemsButton",
                       QStringLiteral("List every value opening changed, and the other problems"));
    m_dismiss = addButton(QStringLiteral("Dis&miss"), "NoticeDismissButton",
                          QStringLiteral("Hide the notice; the list of problems keeps the values"));

    connect(m_list, &QPushButton::clicked, this, &OpeningNotice::listRequested);
    connect(m_dismiss, &QPushButton::clicked, this, &OpeningNotice::dismiss);
}

void OpeningNotice::showChanges(const pilot::PilotRecord& loaded, const pilot::PilotRecord& shown) {
    const std::vector<pilot::RecordItem> changed = pilot::differences(loaded, shown);
    if (changed.empty()) {
        dismiss();
        return;
    }
    m_text->setText(noticeText(loaded, shown, changed));
    fitHeight(*m_text);
    setShown(true);
    Q_EMIT shownChanged();  // the height may have changed with the text
}

void OpeningNotice::dismiss() {
    setShown(false);
}

}  // namespace editor
