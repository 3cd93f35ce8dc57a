#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "IoError.h"

namespace {

using pilot::IoError;

TEST(IoErrorText, MessagesByCode) {
    struct Case {
        int code;
        std::string message;
    };
    const std::vector<Case> cases = {
        {2, "Datei nicht gefunden"},
        {3, "Ungültiger Dateiname"},
        {4, "Zu viele Dateien geöffnet"},
        {5, "Dateizugriff verweigert"},
        {100, "Lesen nach Dateiende (EOF)"},
        {101, "Kapazität der Diskette/Festplatte erschöpft"},
        {106, "Ungültige numerische Eingabe"},
        {29, "I/O-Fehler 29"},
        {32, "I/O-Fehler 32"},
        {1032, "I/O-Fehler 1032"},
        {0, "I/O-Fehler 0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IoError{c.code}.message(), c.message) << c.code;
    }
}

// The reason in plain English beside each message; a folder where a file was to be read or
// written is named as such, and a system error keeps the system's words.
TEST(IoErrorText, PlainReasonsByCode) {
    const struct {
        int code;
        bool aFolder;
        std::string reason;
    } cases[] = {
        {2, false, "the file does not exist"},
        {3, false, "the name is not valid or its folder does not exist"},
        {5, true, "access denied: it is a folder, not a file"},
        {5, false, "access denied: no permission, a read-only disk, or not a regular file"},
        {32, true, "another program holds the file"},
        {100, false, "it holds fewer than the 1928 bytes of a pilot record"},
        {101, false, "the disk is full"},
        {EFBIG, false, "File too large"},
        {1000 + EPIPE, false, "Broken pipe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(pilot::plainReason(IoError{c.code}, c.aFolder), c.reason);
    }
}

TEST(IoErrorText, SystemErrorsMapToCodes) {
    using Transfer = IoError::Transfer;
    struct Case {
        int errnoValue;
        Transfer transfer;
        int code;
    };
    const std::vector<Case> cases = {
        // The storage layer opens a file's folder first and reports a missing one as ENOTDIR.
        {ENOENT, Transfer::Writing, IoError::FileNotFound},
        {ENOENT, Transfer::Reading, IoError::FileNotFound},
        {ENOTDIR, Transfer::Writing, IoError::InvalidPath},
        {ENAMETOOLONG, Transfer::Writing, IoError::InvalidPath},
        {EINVAL, Transfer::Writing, IoError::InvalidPath},
        {EMFILE, Transfer::Reading, IoError::TooManyOpenFiles},
        {ENFILE, Transfer::Reading, IoError::TooManyOpenFiles},
        {EACCES, Transfer::Writing, IoError::AccessDenied},
        {EPERM, Transfer::Writing, IoError::AccessDenied},
        {EROFS, Transfer::Writing, IoError::AccessDenied},
        {EISDIR, Transfer::Reading, IoError::AccessDenied},
        {ENOSPC, Transfer::Writing, IoError::DiskFull},
        {EDQUOT, Transfer::Writing, IoError::DiskFull},
        {EBUSY, Transfer::Writing, IoError::SharingViolation},
        {ETXTBSY, Transfer::Writing, IoError::SharingViolation},
        {EIO, Transfer::Reading, IoError::ReadFault},
        {EIO, Transfer::Writing, IoError::WriteFault},
        {EFBIG, Transfer::Writing, EFBIG},
        {ELOOP, Transfer::Reading, ELOOP},
        // Numbers that already mean something else move out of the way.
        {ESRCH, Transfer::Writing, 1000 + ESRCH},
        {EINTR, Transfer::Writing, 1000 + EINTR},
        {ESPIPE, Transfer::Writing, 1000 + ESPIPE},
        {EPIPE, Transfer::Writing, 1000 + EPIPE},
        {ENETDOWN, Transfer::Writing, 1000 + ENETDOWN},
        {ENETUNREACH, Transfer::Writing, 1000 + ENETUNREACH},
        {EISCONN, Transfer::Writing, 1000 + EISCONN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IoError::fromErrno(c.errnoValue, c.transfer), IoError{c.code})
            << "errno " << c.errnoValue;
    }
}

TEST(IoErrorText, PeriodFollowsOnlyCharactersSortingAfterIt) {
    struct Case {
        std::string message;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"Datei nicht gefunden", "Datei nicht gefunden."},
        {"I/O-Fehler 32", "I/O-Fehler 32."},
        {"Lesen nach Dateiende (EOF)", "Lesen nach Dateiende (EOF)"},
        {"Kapazität der Diskette/Festplatte erschöpft",
         "Kapazität der Diskette/Festplatte erschöpft."},
        {"Ende.", "Ende."},
        {"Pfad/", "Pfad/."},
        {"Fertig!", "Fertig!"},
        {"Komma,", "Komma,"},
        {"Strich-", "Strich-"},
        {"geöffnet ö", "geöffnet ö."},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::withClosingPeriod(c.message), c.shown) << c.message;
    }
}

}  // namespace
