#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <variant>

#include <sys/stat.h>

#include "Durability.h"
#include "FilePlace.h"
#include "IoError.h"

// The course every write of a whole file takes, shared by the pilot's saves and the text
// files' writes. Here the errno of the steps below becomes the user's IoError.
namespace pilot::storage {

// Nothing is written; the decision's maker knows why.
struct Refused {};

// What a write puts into its target, decided once the target is locked (`existing`), or
// known to be free or a link to nowhere (nullptr): the bytes, or why nothing is written.
using Decision = std::variant<std::string_view, Refused, IoError>;
using Decide = std::function<Decision(const Place& place, const LockedFile* existing)>;
// The file as written, or why not.
using Written = std::variant<struct stat, Refused, IoError>;

// A free name is created, an existing file is locked, looked at by `decide` and replaced.
// When another program removes or replaces the file while this one waits for the lock, it
// starts over with what the name holds then. A target without any write bit counts as
// write-protected (even for root) and fails with AccessDenied, untouched; so does anything
// but a regular file.
[[nodiscard]] Written writeTarget(const std::filesystem::path& path, Durability durability,
                                  const SystemCalls& os, const Decide& decide);

// The user's error of a failed step.
[[nodiscard]] IoError errorOf(const steps::Failure& failure,
                              IoError::Transfer transfer = IoError::Transfer::Writing);

}  // namespace pilot::storage
