#pragma once

#include <utility>
#include <vector>

#include <QColor>
#include <QIcon>
#include <QWidget>

#include "RecordChecks.h"

class QPalette;

namespace editor {

// The colour of a problem's mark: red for an error, amber for a warning, as light or as dark
// as it takes to stand out from the palette's window and field colours (a contrast of 3 to
// 1 at the least), so that it reads on a light and on a dark desktop alike.
[[nodiscard]] QColor markColour(const QPalette& palette, pilot::Severity severity);

// A small picture of the severity in its mark colour, for lists and selector entries: a
// disc for an error, a triangle for a warning, told apart by shape as well as by colour.
[[nodiscard]] QIcon severityIcon(const QPalette& palette, pilot::Severity severity);

// Paints the marks of one group over its controls: a frame in the mark colour over each
// control's own edge, solid for an error and dashed for a warning. It covers the group but
// takes no mouse events, so the controls keep their clicks, hints and geometry.
class MarkOverlay : public QWidget {
    Q_OBJECT
public:
    using Marks = std::vector<std::pair<QWidget*, pilot::Severity>>;

    explicit MarkOverlay(QWidget* group);

    void setMarks(Marks marks);
    [[nodiscard]] const Marks& marks() const { return m_marks; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Marks m_marks;
};

}  // namespace editor
