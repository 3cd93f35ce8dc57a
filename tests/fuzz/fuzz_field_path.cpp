// The command line's field names: whatever the parser accepts names an element inside the
// record and comes back from its printed name; every element's name is accepted; what an
// assignment stores fits its field.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "FieldPath.h"
#include "PilotRecord.h"
#include "ValueText.h"

namespace {

[[noreturn]] void fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

bool samePath(const pilot::ElementPath& a, const pilot::ElementPath& b) {
    return a.field == b.field && a.row == b.row && a.column == b.column;
}

void checkInside(const pilot::ElementPath& path, std::string_view text) {
    const pilot::FieldInfo& info = pilot::fieldInfo(path.field);
    if (path.row >= info.rows || path.column >= info.columns) {
        fail("an index outside the field", text);
    }
    if (info.offset + info.size() > pilot::kRecordSize) {
        fail("a field outside the record", text);
    }
}

void roundTrip(const pilot::ElementPath& path, std::string_view text) {
    const std::string name = pilot::pathName(path);
    const auto again = pilot::parseFieldPath(name);
    if (!std::holds_alternative<pilot::ElementPath>(again) ||
        !samePath(std::get<pilot::ElementPath>(again), path)) {
        fail("the printed name does not lead back", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // "NAME" or "NAME=VALUE", as set takes them.
    const auto equals = input.find('=');
    const std::string_view text = input.substr(0, equals);

    const auto parsed = pilot::parseFieldPath(text);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        if (error->empty()) {
            fail("a refusal without a reason", text);
        }
    } else {
        const auto& path = std::get<pilot::ElementPath>(parsed);
        checkInside(path, text);
        roundTrip(path, text);
        if (equals != std::string_view::npos && !pilot::fieldInfo(path.field).reserved()) {
            const auto pattern = cli::storedPattern(path, input.substr(equals + 1));
            const pilot::FieldInfo& info = pilot::fieldInfo(path.field);
            if (const auto* value = std::get_if<std::uint32_t>(&pattern)) {
                if (byteWidth(info.type) < 4 && *value >> (8 * byteWidth(info.type)) != 0) {
                    fail("a value wider than its field", input);
                }
                if (!info.enumeration.empty() && *value >= info.enumeration.size()) {
                    fail("a value outside its enumeration", input);
                }
            }
        }
    }

    // Any element, picked by the first bytes, is named so that the parser finds it again.
    if (size >= 3) {
        const auto field = static_cast<pilot::Field>(data[0] % pilot::kFieldTable.size());
        const pilot::FieldInfo& info = pilot::fieldInfo(field);
        roundTrip({field, data[1] % info.rows, data[2] % info.columns}, text);
    }
    return 0;
}
