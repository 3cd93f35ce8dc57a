// The pilot file changed by another program (the game, most often) while the window holds
// it: the notice, and Merge, Reload and Overwrite from the notice or from Save's question.
// The bytes the file held when it was last loaded or saved are the common base of a merge;
// what the file holds now is theirs; what Save would write is mine.
#include <QFileInfo>

#include "BattleStatsGroup.h"
#include "DiskChangeBar.h"
#include "EditHistory.h"
#include "FileNames.h"
#include "OpeningNotice.h"
#include "ProblemMarks.h"
#include "RecordMerge.h"
#include "TForm1.h"
#include "VersionKeeper.h"

namespace editor {

namespace {

QString alreadyExists(const QString& name) {
    return QStringLiteral("%1 already exists. Replace it?").arg(name);
}

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

// The conflicts as the dialog lists them, named and shown as the comparison of records does.
std::vector<ui::ConflictRow> conflictRows(const pilot::MergeResult& result) {
    std::vector<ui::ConflictRow> rows;
    rows.reserve(result.conflicts.size());
    for (const pilot::MergeConflict& conflict : result.conflicts) {
        const pilot::RecordItem& item = conflict.item;
        rows.push_back({text(pilot::itemTitle(item)), text(pilot::itemRecordName(item)),
                        text(pilot::itemValueText(item, conflict.base)),
                        text(pilot::itemValueText(item, conflict.mine)),
                        text(pilot::itemValueText(item, conflict.theirs))});
    }
    return rows;
}

}  // namespace

// Content decides, not time stamps: a file of the size the window knew that holds the base
// again needs no notice (its new stamp is taken), nor one that holds what Save would write
// (it is as if saved).
void TForm1::checkFileOnDisk() {
    if (!m_fileStamp) {
        m_diskChangeBar->hideNotice();
        return;
    }
    const auto path = toPath(m_currentFileName);
    if (!pilot::changedSince(path, *m_fileStamp)) {
        m_diskChangeBar->hideNotice();
        return;
    }
    auto loaded = pilot::loadPilotFileWithStamp(path);
    if (const auto* disk = std::get_if<pilot::LoadedPilot>(&loaded);
        disk != nullptr && holdsNothingNew(*disk, m_fileStamp->size)) {
        if (disk->record == m_cleanRecord) {
            m_fileStamp = disk->stamp;
            m_diskChangeBar->hideNotice();
        } else {
            takeDiskAsBase(*disk);
            ClearChanged();
            m_history->markClean();
        }
        return;
    }
    // A file that cannot be read as a pilot (cut short, say) can still be overwritten.
    if (const auto now = pilot::currentStamp(path)) {
        m_diskChangeBar->notice(shownFileName(), *now, unsaved());
    } else {
        m_diskChangeBar->hideNotice();
    }
}

std::optional<pilot::LoadedPilot> TForm1::readDisk() {
    auto loaded = pilot::loadPilotFileWithStamp(toPath(m_currentFileName));
    if (const auto* error = std::get_if<pilot::IoError>(&loaded)) {
        showError(*error, m_currentFileName);
        return std::nullopt;
    }
    return std::get<pilot::LoadedPilot>(std::move(loaded));
}

// The other program's bytes become what the window compares with and writes over without a
// question; the history keeps them, unless it holds them already.
void TForm1::takeDiskAsBase(const pilot::LoadedPilot& disk) {
    showKeepFailure(pilot::history::keepOpened(toPath(m_currentFileName), disk.record));
    m_cleanRecord = disk.record;
    m_fileStamp = disk.stamp;
    m_diskChangeBar->clear();
    // What opening changed says nothing of the file as it is now.
    m_openingNotice->dismiss();
    m_problems->clearCorrections();
}

// The record shown becomes `shown` as one undo step, with the disk's bytes as the base.
void TForm1::showFromDisk(const pilot::LoadedPilot& disk, const pilot::PilotRecord& shown,
                          const QString& stepName) {
    takeDiskAsBase(disk);
    putRecord(shown, stepName);
    if (!unsaved()) {
        ClearChanged();
    }
    m_history->markClean();
}

bool TForm1::mergeWithDisk() {
    const auto disk = readDisk();
    if (!disk) {
        return false;
    }
    pilot::MergeResult result =
        pilot::mergeRecords(m_cleanRecord, m_battle->withShownFields(m_record), disk->record);
    if (!result.conflicts.empty()) {
        const auto decided = m_dialogs.decideConflicts(dialogParent(), conflictRows(result));
        if (!decided || decided->size() != result.conflicts.size()) {
            return false;
        }
        for (std::size_t i = 0; i < decided->size(); ++i) {
            result.conflicts[i].choice =
                (*decided)[i] ? pilot::MergeChoice::TakeTheirs : pilot::MergeChoice::KeepMine;
        }
    }
    showFromDisk(*disk, pilot::resolve(result), QStringLiteral("Merge"));
    return true;
}

void TForm1::reloadFromDisk() {
    if (const auto disk = readDisk()) {
        showFromDisk(*disk, disk->record, QStringLiteral("Reload"));
    }
}

// Writes over the file as the notice saw it; a file changed once more asks again.
void TForm1::overwriteDisk() {
    if (const auto& seen = m_diskChangeBar->seen()) {
        SavePilotFile(m_currentFileName, *seen, pilot::history::Origin::ChangedByOther);
    }
}

// Whether the file as read holds only what the window knows, at the size it knew: the base,
// or what Save would write.
bool TForm1::holdsNothingNew(const pilot::LoadedPilot& disk, std::int64_t knownSize) const {
    return disk.stamp.size == knownSize &&
           (disk.record == m_cleanRecord || disk.record == m_battle->withShownFields(m_record));
}

// A file the save did not expect. Over the file this window loaded or saved, changed since
// by another program: content decides again (the base or what Save writes is written over
// without a question), else the user chooses. Over any other file, the user says whether
// to replace it. False when nothing is to be written.
bool TForm1::decideOverChanged(const QString& fileName, const pilot::ChangedOnDisk& changed,
                               pilot::ExpectedFile& expected, pilot::history::Origin& origin) {
    const QString name = QFileInfo(fileName).fileName();
    const auto* known = std::get_if<pilot::FileStamp>(&expected);
    if (known == nullptr) {
        expected = changed.current;
        origin = pilot::history::Origin::Replaced;
        return m_dialogs.askReplace(dialogParent(), alreadyExists(name));
    }
    auto loaded = pilot::loadPilotFileWithStamp(toPath(fileName));
    const auto* disk = std::get_if<pilot::LoadedPilot>(&loaded);
    const bool nothingLost =
        disk != nullptr && disk->stamp == changed.current && holdsNothingNew(*disk, known->size);
    expected = changed.current;
    if (nothingLost) {
        origin = pilot::history::Origin::Replaced;
        return true;
    }
    switch (m_dialogs.askChangedOnDisk(dialogParent(), changedByAnotherProgram(name), unsaved())) {
        case ui::ChangedFileChoice::Overwrite:
            // Exactly the bytes the user was asked about; another change asks again.
            origin = pilot::history::Origin::ChangedByOther;
            return true;
        case ui::ChangedFileChoice::Merge:
            if (!mergeWithDisk()) {
                return false;
            }
            expected = *m_fileStamp;
            origin = pilot::history::Origin::Replaced;
            return true;
        case ui::ChangedFileChoice::Reload:
            reloadFromDisk();
            return false;
        case ui::ChangedFileChoice::Cancel:
            return false;
    }
    return false;
}

}  // namespace editor
