#include "IoError.h"

namespace pilot {

// Skeleton: filled in by the storage change.
std::string IoError::message() const { return "I/O-Fehler " + std::to_string(code); }

IoError IoError::fromErrno(int errnoValue, const std::string&) { return {errnoValue}; }

std::string withClosingPeriod(std::string message) { return message; }

}  // namespace pilot
