#pragma once

#include <cstdint>
#include <string>

namespace pilot {

// An input/output failure with the code the user sees: 2 file not found, 3 invalid name or
// path, 4 too many open files, 5 access denied, 100 read beyond the end of the file,
// 101 disk full; other failures keep a code of their own.
struct IoError {
    int code = 0;

    enum : int {
        FileNotFound = 2,
        InvalidPath = 3,
        TooManyOpenFiles = 4,
        AccessDenied = 5,
        WriteFault = 29,        // the device failed while writing (EIO)
        ReadFault = 30,         // the device failed while reading (EIO)
        SharingViolation = 32,  // another program holds the file (EBUSY, ETXTBSY)
        ReadPastEnd = 100,
        DiskFull = 101,
        InvalidNumber = 106,
    };

    // Tells a device failure while reading (ReadFault) from one at any other step.
    enum class Transfer : std::uint8_t { Reading, Writing };

    // The message of the code, exactly as the user reads it ("Datei nicht gefunden",
    // "I/O-Fehler 32"), UTF-8 encoded.
    [[nodiscard]] std::string message() const;

    // The error of a failed system call: errnoValue is the errno it left. ENOENT is a
    // missing file; the storage layer, which opens a file's folder first, reports a
    // missing folder as ENOTDIR (an invalid path). An errno without a code of its own keeps
    // its number, unless that number already means something above; then it shows as
    // 1000 + errno, so that "I/O-Fehler 32" never stands for a broken pipe.
    [[nodiscard]] static IoError fromErrno(int errnoValue, Transfer transfer = Transfer::Writing);

    friend bool operator==(const IoError&, const IoError&) = default;
};

// What the error means in plain English, for those who read no German: "the file does not
// exist", or "access denied: it is a folder, not a file" when the file that was to be read
// or written is `aFolder`. A code that stands for a system error gives the system's own
// words for it.
[[nodiscard]] std::string plainReason(const IoError& error, bool aFolder = false);

// The text of an error box: the message with "." appended when its last character sorts
// after "." ("Datei nicht gefunden." and "I/O-Fehler 32.", but "Lesen nach Dateiende (EOF)",
// since ")" sorts before ".").
[[nodiscard]] std::string withClosingPeriod(std::string message);

}  // namespace pilot
