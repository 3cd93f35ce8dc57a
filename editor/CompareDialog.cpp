#include "CompareDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "ComparisonView.h"
#include "WindowStyle.h"

namespace editor {

QString shownColumnTitle() {
    return QStringLiteral("Shown now");
}

CompareDialog::CompareDialog(const QString& otherName, const pilot::PilotRecord& other,
                             ShownRecord shown, QWidget* parent)
    : QDialog(parent), m_otherName(otherName), m_other(other), m_shown(std::move(shown)) {
    setObjectName(QStringLiteral("CompareDialog"));
    setWindowTitle(QStringLiteral("Compare with %1").arg(otherName));
    setFont(ui::windowFont(ui::kWindowFontPixels));
    resize(640, 420);

    auto* layout = new QVBoxLayout(this);
    m_view = new ui::ComparisonView(this);
    m_view->addAction(QStringLiteral("&Take selected"), QStringLiteral("TakeButton"),
                      [this](const std::vector<pilot::RecordItem>& items) {
                          m_shown.take(m_other, items,
                                       QStringLiteral("Take from %1").arg(m_otherName));
                          refresh();
                      });
    layout->addWidget(m_view, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("CloseButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    refresh();
}

void CompareDialog::refresh() {
    const pilot::PilotRecord shown = m_shown.get();
    m_view->setComparison(pilot::differences(shown, m_other),
                          {{shownColumnTitle(), shown}, {m_otherName, m_other}});
}

}  // namespace editor
