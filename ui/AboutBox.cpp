#include "AboutBox.h"

namespace ui {

// Skeleton: filled in by the window shell's change.
AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Brevanta"));
}

}  // namespace ui
