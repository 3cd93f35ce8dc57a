#include "FilePlace.h"

#include <array>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <linux/limits.h>

namespace pilot::storage {

namespace {

namespace fs = std::filesystem;
using steps::Descriptor;
using steps::Failure;

constexpr int kMostLinks = 40;  // as many as the kernel follows in one path

// The place of a name as it stands, links not followed; a relative path starts at `base`.
std::variant<Place, Failure> placeOf(int base, const fs::path& target, const SystemCalls& os) {
    steps::FolderAndName opened{Descriptor(os, -1), {}};
    bool syncable = true;
    int error = steps::openFolderOf(os, base, target, O_RDONLY, opened);
    if (error == EACCES) {
        // A folder one may write in but not list: usable, though it cannot be synced.
        error = steps::openFolderOf(os, base, target, O_PATH, opened);
        syncable = false;
    }
    if (error != 0) {
        return Failure{error};
    }
    if (opened.name.empty()) {
        return Failure{EISDIR};  // a name that can only be a folder
    }
    Place place{std::move(opened.folder), syncable, std::move(opened.name), std::nullopt};
    struct stat info {};
    if (os.fstatAt(place.folder.get(), place.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        place.existing = info;
    } else if (errno != ENOENT) {
        return Failure{errno};
    }
    return place;
}

// What the link of the place points to; 0 or the errno.
int readLink(const Place& link, const SystemCalls& os, std::string& target) {
    std::array<char, PATH_MAX> buffer{};
    const ssize_t length =
        os.readLinkAt(link.folder.get(), link.name.c_str(), buffer.data(), buffer.size());
    if (length < 0) {
        return errno;
    }
    if (static_cast<std::size_t>(length) >= buffer.size()) {
        return ENAMETOOLONG;
    }
    target.assign(buffer.data(), static_cast<std::size_t>(length));
    return 0;
}

// The existing file a link leads to through any further links, or nothing when it leads
// nowhere (or cannot be followed).
std::optional<Place> followLinks(const Place& link, const SystemCalls& os) {
    const Place* at = &link;
    std::optional<Place> reached;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::string target;
        if (readLink(*at, os, target) != 0) {
            return std::nullopt;
        }
        // A relative target starts in the link's own folder.
        auto next = placeOf(at->folder.get(), target, os);
        auto* place = std::get_if<Place>(&next);
        if (place == nullptr || !place->existing) {
            return std::nullopt;
        }
        reached = std::move(*place);
        if (!S_ISLNK(reached->existing->st_mode)) {
            return reached;
        }
        at = &*reached;
    }
    return std::nullopt;
}

}  // namespace

std::variant<Place, Failure> openPlace(const fs::path& path, const SystemCalls& os) {
    if (path.empty()) {
        return Failure{EINVAL};
    }
    auto opened = placeOf(AT_FDCWD, path, os);
    auto* place = std::get_if<Place>(&opened);
    if (place != nullptr && place->existing && S_ISLNK(place->existing->st_mode)) {
        if (auto reached = followLinks(*place, os)) {
            return std::move(*reached);
        }
    }
    return opened;
}

std::variant<LockedFile, Moved, Failure> lockExisting(Place& place, const SystemCalls& os) {
    constexpr int kFlags = O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC;
    LockedFile locked{
        steps::openAt(os, place.folder.get(), place.name.c_str(), O_RDONLY | kFlags), {}, true};
    if (!locked.fd.valid() && errno == EACCES) {
        locked.fd = steps::openAt(os, place.folder.get(), place.name.c_str(), O_WRONLY | kFlags);
        locked.readable = false;
    }
    if (!locked.fd.valid()) {
        if (errno == ENOENT || errno == ELOOP) {
            return Moved{};
        }
        return Failure{errno};
    }
    if (const int error = steps::lockExclusive(os, locked.fd.get())) {
        return Failure{error};
    }
    if (os.fstat(locked.fd.get(), &locked.info) != 0) {
        return Failure{errno};
    }
    if (!S_ISREG(locked.info.st_mode)) {
        return Failure{EACCES};
    }
    // A save that replaced the file while this one waited has left the lock on a file that
    // no longer has the name.
    bool named = false;
    if (const int error = steps::stillNamed(os, place.folder.get(), place.name.c_str(),
                                            AT_SYMLINK_NOFOLLOW, locked.fd.get(), named)) {
        return Failure{error};
    }
    if (!named) {
        return Moved{};
    }
    return locked;
}

int syncFolder(const Place& place, const SystemCalls& os) {
    if (!place.syncable) {
        return 0;
    }
    const int error = steps::syncFile(os, place.folder.get());
    // Some file systems cannot sync a folder at all; their entries are as safe as they get.
    return error == EINVAL ? 0 : error;
}

}  // namespace pilot::storage
