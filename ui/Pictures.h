#pragma once

#include <QIcon>
#include <QString>

namespace ui {

// One of the program's own pictures ("brevanta", "new-pilot", "load-tfr", "save-tfr",
// "bsf-generation"), drawn from its SVG at the sizes the toolbar and the window frame use.
[[nodiscard]] QIcon picture(const QString& name);

}  // namespace ui
