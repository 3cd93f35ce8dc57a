#pragma once

#include "NoticeBar.h"

class QLabel;
class QPushButton;
namespace pilot {
class PilotRecord;
}

namespace editor {

// The notice above the groups that showing a file changed some of its values: "Opening
// changed 2 values: Total score 99999 → 23800, Skill 65535 → 0. Save writes them." It
// names a few and offers the list of problems, which holds them all until the next load or
// save. It shows beside the notice of a file changed on disk.
class OpeningNotice : public NoticeBar {
    Q_OBJECT
public:
    explicit OpeningNotice(QWidget* parent = nullptr);

    // Shows what the window changed in the file's record (`loaded`) to show it (`shown`);
    // hides the notice when it changed nothing.
    void showChanges(const pilot::PilotRecord& loaded, const pilot::PilotRecord& shown);
    void dismiss();

Q_SIGNALS:
    void listRequested();

private:
    QLabel* m_text = nullptr;
    QPushButton* m_list = nullptr;
    QPushButton* m_dismiss = nullptr;
};

}  // namespace editor
