#include "VersionKeeper.h"

namespace pilot::history {

std::variant<PilotHistory, KeepFailure> historyOf(const std::filesystem::path& pilot) {
    if (auto root = historyRoot()) {
        return PilotHistory(std::move(*root), pilot);
    }
    return KeepFailure{"neither XDG_STATE_HOME nor HOME names a folder for it.", pilot};
}

std::optional<KeepFailure> keepOpened(const std::filesystem::path& pilot,
                                      const PilotRecord& record) {
    auto history = historyOf(pilot);
    if (const auto* none = std::get_if<KeepFailure>(&history)) {
        return *none;
    }
    return std::get<PilotHistory>(history).keep(record, Origin::Opened);
}

ReplacedVersionKeeper::ReplacedVersionKeeper(const std::filesystem::path& pilot, Origin origin)
    : m_history(historyOf(pilot)), m_origin(origin) {}

KeepReplaced ReplacedVersionKeeper::keeper() {
    if (const auto* history = std::get_if<PilotHistory>(&m_history)) {
        return history->keeper(m_origin, m_failure, m_os);
    }
    // Said only when there was something to keep.
    return [this](const ReplacedPilot&) { m_failure = std::get<KeepFailure>(m_history); };
}

}  // namespace pilot::history
