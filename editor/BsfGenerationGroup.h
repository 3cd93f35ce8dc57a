#pragma once

#include <QGroupBox>

#include "BsfTexts.h"

class QLineEdit;

namespace editor {

// " BSF Generation ": the four texts the Battle Submission Form starts from, kept for the
// whole run (not part of the pilot file).
class BsfGenerationGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit BsfGenerationGroup(QWidget* parent = nullptr);

    [[nodiscard]] bsfwindow::BsfTexts texts() const;
    void setTexts(const bsfwindow::BsfTexts& texts);

private:
    QLineEdit* m_edit79 = nullptr;  // ID-Line
    QLineEdit* m_edit80 = nullptr;  // E-Mail
    QLineEdit* m_edit81 = nullptr;  // Battle
    QLineEdit* m_edit82 = nullptr;  // Medal
};

}  // namespace editor
