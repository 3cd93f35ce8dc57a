#pragma once

#include <cstdint>

namespace pilot {

// How soon a written file is made to survive a power loss.
enum class Durability : std::uint8_t {
    // Before the write reports success: the file's data before it takes its name, and the
    // folder after.
    Synced,
    // A file that replaces another still has its data synced first, so that the name never
    // holds a torn file; a new file and the folder wait for syncFileSystem, which a command
    // writing many files calls once at the end.
    SyncedLater,
    // A new file is synced once, after it has taken its name, and its folder not at all: the
    // file systems Linux keeps homes on (ext4, xfs, btrfs) make a file's new name durable with
    // the file. Until that sync is done the name may hold a torn file after a power loss, so
    // only files whose readers tell a torn one (the history's versions, named by a hash of
    // their bytes) are written this way, at the cost of one sync instead of two.
    SyncedWithName,
};

}  // namespace pilot
