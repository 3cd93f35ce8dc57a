#include "IoError.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string_view>
#include <system_error>

namespace pilot {

namespace {

struct CodeText {
    int code;
    std::string_view text;
};

constexpr std::array<CodeText, 7> kMessages = {{
    {IoError::FileNotFound, "Datei nicht gefunden"},
    {IoError::InvalidPath, "Ungültiger Dateiname"},
    {IoError::TooManyOpenFiles, "Zu viele Dateien geöffnet"},
    {IoError::AccessDenied, "Dateizugriff verweigert"},
    {IoError::ReadPastEnd, "Lesen nach Dateiende (EOF)"},
    {IoError::DiskFull, "Kapazität der Diskette/Festplatte erschöpft"},
    {IoError::InvalidNumber, "Ungültige numerische Eingabe"},
}};

// Every code that already has a meaning; an errno of the same number must not pass as it.
constexpr std::array<int, 10> kMeaningfulCodes = {
    IoError::FileNotFound, IoError::InvalidPath,  IoError::TooManyOpenFiles, IoError::AccessDenied,
    IoError::WriteFault,   IoError::ReadFault,    IoError::SharingViolation, IoError::ReadPastEnd,
    IoError::DiskFull,     IoError::InvalidNumber};

constexpr int kShiftedErrnoBase = 1000;

constexpr std::array<CodeText, 10> kReasons = {{
    {IoError::FileNotFound, "the file does not exist"},
    {IoError::InvalidPath, "the name is not valid or its folder does not exist"},
    {IoError::TooManyOpenFiles, "too many files are open"},
    {IoError::AccessDenied,
     "access denied: no permission, a read-only disk, or not a regular file"},
    {IoError::WriteFault, "the device failed while writing"},
    {IoError::ReadFault, "the device failed while reading"},
    {IoError::SharingViolation, "another program holds the file"},
    {IoError::ReadPastEnd, "it holds fewer than the 1928 bytes of a pilot record"},
    {IoError::DiskFull, "the disk is full"},
    {IoError::InvalidNumber, "invalid numeric input"},
}};

}  // namespace

std::string IoError::message() const {
    const auto* known = std::find_if(kMessages.begin(), kMessages.end(),
                                     [this](const CodeText& entry) { return entry.code == code; });
    if (known != kMessages.end()) {
        return std::string(known->text);
    }
    return "I/O-Fehler " + std::to_string(code);
}

IoError IoError::fromErrno(int errnoValue, Transfer transfer) {
    switch (errnoValue) {
        case ENOENT:
            return {FileNotFound};
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return {InvalidPath};
        case EMFILE:
        case ENFILE:
            return {TooManyOpenFiles};
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return {AccessDenied};
        case ENOSPC:
        case EDQUOT:
            return {DiskFull};
        case EBUSY:
        case ETXTBSY:
            return {SharingViolation};
        case EIO:
            return {transfer == Transfer::Reading ? ReadFault : WriteFault};
        default:
            break;
    }
    if (std::find(kMeaningfulCodes.begin(), kMeaningfulCodes.end(), errnoValue) !=
        kMeaningfulCodes.end()) {
        return {kShiftedErrnoBase + errnoValue};
    }
    return {errnoValue};
}

std::string plainReason(const IoError& error, bool aFolder) {
    if (error.code == IoError::AccessDenied && aFolder) {
        return "access denied: it is a folder, not a file";
    }
    const auto* known =
        std::find_if(kReasons.begin(), kReasons.end(),
                     [&error](const CodeText& entry) { return entry.code == error.code; });
    if (known != kReasons.end()) {
        return std::string(known->text);
    }
    const int errnoValue =
        error.code > kShiftedErrnoBase ? error.code - kShiftedErrnoBase : error.code;
    return std::generic_category().message(errnoValue);
}

std::string withClosingPeriod(std::string message) {
    // Bytes compare unsigned, so a message ending in a non-ASCII letter gets its period too.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        message += '.';
    }
    return message;
}

}  // namespace pilot
