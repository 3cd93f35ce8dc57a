#pragma once

#include <QIcon>
#include <QString>

namespace ui {

// One of the program's own pictures ("brevanta", "new-pilot", "load-tfr", "save-tfr",
// "bsf-generation", "close", "save") in the sizes of the toolbar, the buttons, the window
// frame and the About box.
[[nodiscard]] QIcon picture(const QString& name);

}  // namespace ui
