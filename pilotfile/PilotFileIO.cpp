#include "PilotFileIO.h"

namespace pilot {

// Skeleton: filled in by the storage change.
std::variant<PilotRecord, IoError> loadPilotFile(const std::filesystem::path&) {
    return IoError{IoError::FileNotFound};
}

std::optional<IoError> savePilotFile(const std::filesystem::path&, const PilotRecord&) {
    return IoError{IoError::AccessDenied};
}

std::optional<IoError> writeFileSafely(const std::filesystem::path&, std::string_view) {
    return IoError{IoError::AccessDenied};
}

std::optional<IoError> appendToFile(const std::filesystem::path&, std::string_view) {
    return IoError{IoError::AccessDenied};
}

}  // namespace pilot
