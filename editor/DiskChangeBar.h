#pragma once

#include <filesystem>
#include <optional>

#include "FileStamp.h"
#include "NoticeBar.h"

class QLabel;

namespace editor {

// "NAME was changed by another program since it was opened.", the notice's text and the
// question before a Save writes over such a file.
[[nodiscard]] QString changedByAnotherProgram(const QString& name);

// The notice above the groups that another program (the game, most often) has changed the
// pilot file since the editor loaded or saved it, with a button to read the file again.
// The user may go on editing, and a Save asks before writing over the other program's bytes.
class DiskChangeBar : public NoticeBar {
    Q_OBJECT
public:
    explicit DiskChangeBar(QWidget* parent = nullptr);

    // Shows the notice when the file at `path` no longer holds what `stamp` remembers,
    // unless the user dismissed the notice about the file as it is now; hides it when the
    // file holds it again. `name` is the file's name as the notice shows it.
    void check(const QString& name, const std::filesystem::path& path,
               const std::optional<pilot::FileStamp>& stamp);
    // Hides the notice and forgets what was dismissed: the window holds another file, or
    // the same one as it is now.
    void clear();

Q_SIGNALS:
    void reloadRequested();

private:
    void dismiss();

    QLabel* m_text = nullptr;
    std::optional<pilot::FileStamp> m_seen;       // the changed file the notice is about
    std::optional<pilot::FileStamp> m_dismissed;  // the changed file the user dismissed
};

}  // namespace editor
