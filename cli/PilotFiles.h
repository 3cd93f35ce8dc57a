#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "IoError.h"
#include "PilotRecord.h"

namespace cli {

// The name by which a pilot is read from standard input, and a form or report written to
// standard output.
inline constexpr std::string_view kStandardStream = "-";

// Writes "brevanta-cli: PATH: error CODE: MESSAGE (REASON)" to standard error, the message
// worded as the editor's error box words it ("Datei nicht gefunden."), the reason in plain
// English ("the file does not exist"). `folder`: the path names a folder on purpose (an
// output folder), so that its being one is no reason.
void reportIoError(const std::filesystem::path& path, const pilot::IoError& error,
                   bool folder = false);

// Writes "brevanta-cli: MESSAGE" to standard error.
void reportRefusal(std::string_view message);

// The record of a pilot file ("-": read from standard input), or nothing after reporting
// why it cannot be read.
[[nodiscard]] std::optional<pilot::PilotRecord> loadOrReport(const std::filesystem::path& path);

// Whether two names lead to the same existing file, however each one reaches it; a name
// that does not exist is no other name's file.
[[nodiscard]] bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Flushes standard output; false after reporting that it could not be written (a full disk,
// a closed pipe), so that a command never claims to have shown what was lost.
[[nodiscard]] bool standardOutputWritten();

}  // namespace cli
