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
    QLineEdit* m_idLineEdit = nullptr;        // Edit79
    QLineEdit* m_emailEdit = nullptr;         // Edit80
    QLineEdit* m_battleNumberEdit = nullptr;  // Edit81
    QLineEdit* m_medalEdit = nullptr;         // Edit82
};

}  // namespace editor
