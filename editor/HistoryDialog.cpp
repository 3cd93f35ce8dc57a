#include "HistoryDialog.h"

#include <utility>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "CompareDialog.h"
#include "ComparisonView.h"
#include "DialogService.h"
#include "RecordItems.h"
#include "WindowStyle.h"

namespace editor {

namespace {

enum Column { kTimeColumn, kOriginColumn, kDifferencesColumn };

QString differencesText(std::size_t count) {
    if (count == 0) {
        return QStringLiteral("identical");
    }
    return count == 1 ? QStringLiteral("1 field") : QStringLiteral("%1 fields").arg(count);
}

}  // namespace

HistoryDialog::HistoryDialog(const QString& pilotName, std::vector<pilot::history::Entry> versions,
                             const QString& note, const QString& folder, ShownRecord shown,
                             ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent),
      m_versions(std::move(versions)),
      m_folder(folder),
      m_shown(std::move(shown)),
      m_dialogs(dialogs) {
    setObjectName(QStringLiteral("HistoryDialog"));
    setWindowTitle(QStringLiteral("History of %1").arg(pilotName));
    setFont(ui::windowFont(ui::kWindowFontPixels));
    resize(680, 560);

    auto* layout = new QVBoxLayout(this);
    auto* listLabel = new QLabel(QStringLiteral("&Versions kept, newest first:"), this);
    layout->addWidget(listLabel);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("VersionList"));
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels(
        {QStringLiteral("Kept"), QStringLiteral("Origin"), QStringLiteral("Fields differing")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    listLabel->setBuddy(m_list);
    layout->addWidget(m_list, 1);
    if (m_versions.empty()) {
        auto* empty = new QLabel(
            note.isEmpty() ? QStringLiteral("No versions of %1 are kept yet.").arg(pilotName)
                           : note,
            this);
        empty->setObjectName(QStringLiteral("HistoryNote"));
        empty->setWordWrap(true);
        layout->addWidget(empty);
    }

    m_view = new ui::ComparisonView(this);
    m_view->addAction(
        QStringLiteral("&Take selected"), QStringLiteral("TakeButton"),
        [this](const std::vector<pilot::RecordItem>& items) {
            if (const auto* version = selected()) {
                m_shown.take(version->record, items,
                             QStringLiteral("Take from version of %1").arg(timeText(*version)));
                fillList();
            }
        });
    layout->addWidget(m_view, 2);

    auto* buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::ActionRole);
    m_restore->setObjectName(QStringLiteral("RestoreButton"));
    m_restore->setToolTip(
        QStringLiteral("Put this version into the window; the file changes at Save"));
    QPushButton* openFolder =
        buttons->addButton(QStringLiteral("&Open Folder"), QDialogButtonBox::ActionRole);
    openFolder->setObjectName(QStringLiteral("OpenFolderButton"));
    openFolder->setToolTip(folder);
    openFolder->setEnabled(!m_versions.empty());
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("CloseButton"));
    for (QPushButton* button : {m_restore, openFolder, close}) {
        button->setAutoDefault(false);
    }
    layout->addWidget(buttons);

    connect(m_restore, &QPushButton::clicked, this, &HistoryDialog::restore);
    connect(openFolder, &QPushButton::clicked, this,
            [this] { m_dialogs.showFolder(this, m_folder); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &HistoryDialog::showSelected);

    fillList();
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    showSelected();
    m_list->setFocus();
}

QString HistoryDialog::timeText(const pilot::history::Entry& version) {
    return QString::fromStdString(pilot::history::localTimeText(version.time));
}

// The rows stay as they are when only their counts change, and so does the selection.
void HistoryDialog::fillList() {
    const pilot::PilotRecord shown = m_shown.get();
    for (std::size_t i = 0; i < m_versions.size(); ++i) {
        const auto& version = m_versions[i];
        QTreeWidgetItem* row = m_list->topLevelItem(static_cast<int>(i));
        if (row == nullptr) {
            row = new QTreeWidgetItem(m_list);
            row->setText(kTimeColumn, timeText(version));
            row->setText(
                kOriginColumn,
                QString::fromStdString(std::string(pilot::history::originText(version.origin))));
        }
        row->setText(kDifferencesColumn,
                     differencesText(pilot::differenceCount(version.record, shown)));
    }
    showSelected();
}

const pilot::history::Entry* HistoryDialog::selected() const {
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    return row < 0 ? nullptr : &m_versions[static_cast<std::size_t>(row)];
}

void HistoryDialog::showSelected() {
    const auto* version = selected();
    m_restore->setEnabled(version != nullptr);
    if (version == nullptr) {
        m_view->setComparison({}, {});
        return;
    }
    const pilot::PilotRecord shown = m_shown.get();
    m_view->setComparison(
        pilot::differences(shown, version->record),
        {{shownColumnTitle(), shown},
         {QStringLiteral("Version of %1").arg(timeText(*version)), version->record}});
}

// The window takes the version whole; the dialog has done its work.
void HistoryDialog::restore() {
    if (const auto* version = selected()) {
        m_shown.put(version->record,
                    QStringLiteral("Restore version of %1").arg(timeText(*version)));
        accept();
    }
}

}  // namespace editor
