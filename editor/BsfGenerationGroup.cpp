#include "BsfGenerationGroup.h"

namespace editor {

// Skeleton: filled in by the group's own change.
BsfGenerationGroup::BsfGenerationGroup(QWidget* parent) : QGroupBox(parent) {
    setTitle(QStringLiteral(" BSF Generation "));
}

reports::BsfTexts BsfGenerationGroup::texts() const { return {}; }

void BsfGenerationGroup::setTexts(const reports::BsfTexts&) {}

}  // namespace editor
