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
};

}  // namespace pilot
