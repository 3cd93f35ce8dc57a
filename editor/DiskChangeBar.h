#pragma once

#include <optional>

#include "FileStamp.h"
#include "NoticeBar.h"

class QLabel;
class QPushButton;

namespace editor {

// "NAME was changed by another program since it was opened.", the notice's text and the
// question before a Save writes over such a file.
[[nodiscard]] QString changedByAnotherProgram(const QString& name);

// The notice above the groups that another program (the game, most often) has changed the
// pilot file since the editor loaded or saved it: Merge its changes with the user's, Reload
// it (dropping the user's changes), or Overwrite it with the pilot shown. The user may also
// go on editing, and a Save asks before writing over the other program's bytes.
class DiskChangeBar : public NoticeBar {
    Q_OBJECT
public:
    explicit DiskChangeBar(QWidget* parent = nullptr);

    // Shows the notice about the file as stamped `seen`, unless the user dismissed the notice
    // about the file as it is now. `name` is the file's name as the notice shows it.
    void notice(const QString& name, const pilot::FileStamp& seen, bool unsavedEdits);
    // Hides the notice: the file holds what the window expects again.
    void hideNotice();
    // Hides the notice and forgets what was dismissed: the window holds another file, or
    // the same one as it is now.
    void clear();
    // Reload's caption says whether it drops changes.
    void setUnsavedEdits(bool unsavedEdits);
    // The file as the notice saw it.
    [[nodiscard]] const std::optional<pilot::FileStamp>& seen() const { return m_seen; }

Q_SIGNALS:
    void mergeRequested();
    void reloadRequested();
    void overwriteRequested();

private:
    void dismiss();

    QLabel* m_text = nullptr;
    QPushButton* m_reload = nullptr;
    std::optional<pilot::FileStamp> m_seen;       // the changed file the notice is about
    std::optional<pilot::FileStamp> m_dismissed;  // the changed file the user dismissed
};

}  // namespace editor
