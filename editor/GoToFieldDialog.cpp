#include "GoToFieldDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "WindowStyle.h"

namespace editor {

namespace {

// More than a screen of rows helps nobody: a longer query narrows them.
constexpr std::size_t kMostFound = 200;

}  // namespace

GoToFieldDialog::GoToFieldDialog(const FieldMap& places, std::span<QWidget* const> groups,
                                 QWidget* parent)
    : QDialog(parent), m_search(places, groups) {
    setObjectName(QStringLiteral("GoToFieldDialog"));
    setWindowTitle(QStringLiteral("Go to Field"));
    setFont(ui::windowFont(ui::kWindowFontPixels));
    auto* layout = new QVBoxLayout(this);
    m_query = new QLineEdit(this);
    m_query->setObjectName(QStringLiteral("GoToFieldEdit"));
    m_query->setPlaceholderText(QStringLiteral("battle 4 mission 3, Skill, T/F kills, Edit83"));
    m_query->setClearButtonEnabled(true);
    auto* label = new QLabel(QStringLiteral("&Field:"), this);
    label->setBuddy(m_query);
    layout->addWidget(label);
    layout->addWidget(m_query);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("GoToFieldList"));
    m_list->setAccessibleName(QStringLiteral("Fields found"));
    m_list->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_list, 1);

    m_query->installEventFilter(this);
    connect(m_query, &QLineEdit::textChanged, this, &GoToFieldDialog::search);
    connect(m_query, &QLineEdit::returnPressed, this, &GoToFieldDialog::choose);
    connect(m_list, &QListWidget::itemActivated, this, &GoToFieldDialog::choose);
    resize(480, 300);
    search(QString());
}

void GoToFieldDialog::start() {
    m_query->clear();
    show();
    raise();
    activateWindow();
    m_query->setFocus(Qt::OtherFocusReason);
}

void GoToFieldDialog::search(const QString& query) {
    m_found = m_search.find(query, kMostFound);
    m_list->clear();
    for (const FieldTarget* target : m_found) {
        m_list->addItem(target->text);
    }
    m_list->setCurrentRow(m_found.empty() ? -1 : 0);
}

// The dialog goes first, so that the window's control keeps the focus it is given.
void GoToFieldDialog::choose() {
    const int row = m_list->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_found.size()) {
        return;
    }
    const FieldPlace place = m_found[static_cast<std::size_t>(row)]->place;
    accept();
    place.reach();
}

// The keys that move in a list move in the list of fields found; everything else edits
// the query.
bool GoToFieldDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_query && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QApplication::sendEvent(m_list, event);
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace editor
