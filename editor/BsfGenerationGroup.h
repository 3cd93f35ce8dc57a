#pragma once

#include <QGroupBox>

#include "BsfTexts.h"

namespace editor {

// " BSF Generation ": the four texts the Battle Submission Form starts from, kept for the
// whole run (not part of the pilot file).
class BsfGenerationGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit BsfGenerationGroup(QWidget* parent = nullptr);

    [[nodiscard]] reports::BsfTexts texts() const;
    void setTexts(const reports::BsfTexts& texts);
};

}  // namespace editor
