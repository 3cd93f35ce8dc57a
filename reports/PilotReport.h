#pragma once

#include <string>
#include <string_view>

namespace pilot {
class PilotRecord;
}

namespace reports {

// The readable pilot report: single-byte text, CR LF after every line. Line 1 is the
// report's own path (its bytes as the file system names it); the rest is built from the
// record alone.
[[nodiscard]] std::string pilotReport(const pilot::PilotRecord& record,
                                      std::string_view reportPath);

}  // namespace reports
