#include "History.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <linux/limits.h>

#include "AtomicFile.h"
#include "FileSteps.h"

namespace pilot::history {

namespace {

namespace fs = std::filesystem;
using steps::Descriptor;

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kVersionMode = 0600;
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

std::string_view bytesOf(const PilotRecord& record) {
    const auto& bytes = record.bytes();
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string reasonOf(const IoError& error) {
    return withClosingPeriod(error.message());
}

// Makes the folder and every missing folder above it, as private to the user as state is.
int makeFolders(const SystemCalls& os, const fs::path& folder) {
    if (os.mkdirAt(AT_FDCWD, folder.c_str(), kFolderMode) == 0 || errno == EEXIST) {
        return 0;
    }
    if (errno != ENOENT || folder.parent_path() == folder || !folder.has_parent_path()) {
        return errno;
    }
    if (const int error = makeFolders(os, folder.parent_path())) {
        return error;
    }
    if (os.mkdirAt(AT_FDCWD, folder.c_str(), kFolderMode) == 0 || errno == EEXIST) {
        return 0;
    }
    return errno;
}

// Opens the folder; with `make`, makes it first where it is missing. ENOENT without.
int openFolder(const SystemCalls& os, const fs::path& folder, bool make, Descriptor& fd) {
    fd = steps::openAt(os, AT_FDCWD, folder.c_str(), kFolderFlags);
    if (fd.valid() || errno != ENOENT || !make) {
        return fd.valid() ? 0 : errno;
    }
    if (const int error = makeFolders(os, folder)) {
        return error;
    }
    fd = steps::openAt(os, AT_FDCWD, folder.c_str(), kFolderFlags);
    return fd.valid() ? 0 : errno;
}

// Reads a file of the folder whole when it holds at most `most` bytes; 0 or the errno (EFBIG
// when it holds more). One read: a file of the history is small, and read whole at once;
// anything but a regular file fails to be read or is too long.
int readSmallFile(const SystemCalls& os, int folder, const std::string& name, std::size_t most,
                  std::string& content) {
    Descriptor fd =
        steps::openAt(os, folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (!fd.valid()) {
        return errno;
    }
    content.assign(most + 1, '\0');
    ssize_t got = -1;
    do {
        got = os.read(fd.get(), content.data(), content.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return errno;
    }
    if (static_cast<std::size_t>(got) > most) {
        return EFBIG;
    }
    content.resize(static_cast<std::size_t>(got));
    return 0;
}

// A version's record; nothing when the file is not exactly one record long or unreadable.
std::optional<PilotRecord> readVersion(const SystemCalls& os, int folder, const std::string& name) {
    std::string content;
    if (readSmallFile(os, folder, name, kRecordSize, content) != 0 ||
        content.size() != kRecordSize) {
        return std::nullopt;
    }
    PilotRecord::Bytes bytes{};
    std::copy(content.begin(), content.end(), bytes.begin());
    return PilotRecord(bytes);
}

// The pilot whose versions the folder holds, from its path file; "" when it has none.
int folderOwner(const SystemCalls& os, int folder, std::string& owner) {
    owner.clear();
    const int error = readSmallFile(os, folder, std::string(kPilotPathFile), PATH_MAX + 1, owner);
    if (error == ENOENT) {
        return 0;
    }
    if (error == 0 && owner.ends_with('\n')) {
        owner.pop_back();
    }
    return error;
}

// The versions named in the folder, oldest first.
std::vector<std::pair<std::string, EntryName>> versionsIn(const std::vector<std::string>& names) {
    std::vector<std::pair<std::string, EntryName>> versions;
    for (const std::string& name : names) {
        if (auto parsed = parseEntryFileName(name)) {
            versions.emplace_back(name, std::move(*parsed));
        }
    }
    std::sort(versions.begin(), versions.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return versions;
}

std::int64_t now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The pilot's folder, held open and locked while a version is kept.
class LockedFolder {
public:
    LockedFolder(const SystemCalls& os, fs::path path) : m_os(os), m_path(std::move(path)) {}

    [[nodiscard]] std::optional<KeepFailure> open(const fs::path& pilot) {
        Descriptor fd(m_os, -1);
        if (const int error = openFolder(m_os, m_path, true, fd)) {
            return failure(error);
        }
        if (const int error = steps::lockExclusive(m_os, fd.get())) {
            return failure(error);
        }
        m_place.emplace(storage::Place{std::move(fd), true, {}, std::nullopt});
        return claimFor(pilot);
    }

    [[nodiscard]] int folder() const { return m_place->folder.get(); }

    // Creates a file of the folder, whole or not at all; an existing one is left as it is.
    [[nodiscard]] int create(const std::string& name, std::string_view bytes) {
        m_place->name = name;
        const auto made =
            storage::createFile(*m_place, bytes, Durability::SyncedWithName, m_os, kVersionMode);
        if (const auto* failed = std::get_if<steps::Failure>(&made)) {
            return failed->error;
        }
        return 0;
    }

    [[nodiscard]] KeepFailure failure(int error) const {
        return {reasonOf(IoError::fromErrno(error)), m_path};
    }

private:
    // The folder names its pilot, or is made to: a folder of another pilot's versions (two
    // paths of one hash) is left alone.
    std::optional<KeepFailure> claimFor(const fs::path& pilot) {
        std::string owner;
        if (const int error = folderOwner(m_os, folder(), owner)) {
            return failure(error);
        }
        if (owner.empty()) {
            if (const int error = create(std::string(kPilotPathFile), pilot.native() + "\n")) {
                return failure(error);
            }
            return std::nullopt;
        }
        if (owner != pilot.native()) {
            return KeepFailure{"the folder holds the versions of " + owner + ".", m_path};
        }
        return std::nullopt;
    }

    const SystemCalls& m_os;
    fs::path m_path;
    std::optional<storage::Place> m_place;
};

}  // namespace

// An empty name, which no file has, stays empty.
PilotHistory::PilotHistory(fs::path root, const fs::path& pilot) : m_root(std::move(root)) {
    std::error_code unnamed;
    const fs::path absolute = fs::absolute(pilot, unnamed);
    m_pilot = (unnamed ? pilot : absolute).lexically_normal();
}

fs::path PilotHistory::folder() const {
    return m_root / pilotFolderName(m_pilot);
}

std::optional<KeepFailure> PilotHistory::keep(const PilotRecord& record, Origin origin,
                                              const SystemCalls& os) const {
    LockedFolder locked(os, folder());
    if (auto failed = locked.open(m_pilot)) {
        return failed;
    }
    std::vector<std::string> names;
    if (os.readFolder(locked.folder(), names) != 0) {
        return locked.failure(errno);
    }
    auto versions = versionsIn(names);
    const std::string hash = contentHash(record);
    // Versions that may hold the record already: all of them for an opened record, which
    // the history need hold only once; else the newest, which is not kept twice in a row.
    const auto from =
        origin == Origin::Opened || versions.empty() ? versions.begin() : std::prev(versions.end());
    for (auto version = from; version != versions.end(); ++version) {
        if (version->second.hash == hash &&
            readVersion(os, locked.folder(), version->first) == record) {
            return std::nullopt;
        }
    }
    // Later than every version, so that the first stays first whatever the clock does.
    const std::int64_t time =
        std::max(now(), versions.empty() ? 0 : versions.back().second.time + 1);
    const EntryName name{time, origin, hash};
    const std::string fileName = entryFileName(name);
    if (const int error = locked.create(fileName, bytesOf(record))) {
        return locked.failure(error);
    }
    versions.emplace_back(fileName, name);
    // The first version and the newest ones stay. A version that cannot be removed now goes
    // the next time: it is kept, after all.
    if (versions.size() > kKeptVersions) {
        const auto end = versions.end() - static_cast<std::ptrdiff_t>(kKeptVersions - 1);
        for (auto old = versions.begin() + 1; old != end; ++old) {
            os.unlinkAt(locked.folder(), old->first.c_str(), 0);
        }
    }
    return std::nullopt;
}

KeepReplaced PilotHistory::keeper(Origin origin, std::optional<KeepFailure>& failure,
                                  const SystemCalls& os) const {
    return [history = *this, origin, &failure, &os](const ReplacedPilot& replaced) {
        if (const auto* error = std::get_if<IoError>(&replaced)) {
            failure = KeepFailure{reasonOf(*error), history.pilot()};
            return;
        }
        failure = history.keep(std::get<PilotRecord>(replaced), origin, os);
    };
}

std::variant<std::vector<Entry>, IoError> PilotHistory::entries(const SystemCalls& os) const {
    std::vector<Entry> found;
    Descriptor fd(os, -1);
    if (const int error = openFolder(os, folder(), false, fd)) {
        if (error == ENOENT) {
            return found;
        }
        return IoError::fromErrno(error, IoError::Transfer::Reading);
    }
    std::string owner;
    std::vector<std::string> names;
    if (folderOwner(os, fd.get(), owner) != 0 || (!owner.empty() && owner != m_pilot.native())) {
        return found;  // another pilot's versions, or none of ours to tell
    }
    if (os.readFolder(fd.get(), names) != 0) {
        return IoError::fromErrno(errno, IoError::Transfer::Reading);
    }
    const auto versions = versionsIn(names);
    found.reserve(versions.size());
    for (auto version = versions.rbegin(); version != versions.rend(); ++version) {
        // A version whose bytes no longer match their hash is damaged.
        auto record = readVersion(os, fd.get(), version->first);
        if (record && contentHash(*record) == version->second.hash) {
            found.push_back(
                {version->first, version->second.time, version->second.origin, *record});
        }
    }
    return found;
}

std::variant<std::vector<PilotSummary>, IoError> allHistories(const fs::path& root,
                                                              const SystemCalls& os) {
    std::vector<PilotSummary> found;
    Descriptor fd(os, -1);
    if (const int error = openFolder(os, root, false, fd)) {
        if (error == ENOENT) {
            return found;
        }
        return IoError::fromErrno(error, IoError::Transfer::Reading);
    }
    std::vector<std::string> names;
    if (os.readFolder(fd.get(), names) != 0) {
        return IoError::fromErrno(errno, IoError::Transfer::Reading);
    }
    for (const std::string& name : names) {
        Descriptor pilotFolder =
            steps::openAt(os, fd.get(), name.c_str(), kFolderFlags | O_NOFOLLOW);
        std::string owner;
        if (!pilotFolder.valid() || folderOwner(os, pilotFolder.get(), owner) != 0 ||
            owner.empty() || pilotFolderName(owner) != name) {
            continue;  // not a pilot's folder
        }
        const PilotHistory history(root, owner);
        auto entries = history.entries(os);
        const auto* versions = std::get_if<std::vector<Entry>>(&entries);
        if (versions != nullptr && !versions->empty()) {
            found.push_back({owner, history.folder(), versions->size(), versions->front().time});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const PilotSummary& a, const PilotSummary& b) { return a.pilot < b.pilot; });
    return found;
}

}  // namespace pilot::history
