#include "BsfText.h"

#include "PilotFileIO.h"
#include "PilotRecord.h"

namespace reports {

// Skeleton: the form text is filled in by its own change.
std::string bsfFormText(const BsfInput&, const pilot::PilotRecord&) { return {}; }

std::optional<pilot::IoError> saveBsfForm(const std::filesystem::path&, std::string_view) {
    return std::nullopt;
}

}  // namespace reports
