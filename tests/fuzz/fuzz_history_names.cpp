// The names of the history's versions, read from a folder anybody may put files into: a name
// the reader accepts is exactly the name the history writes for what it read, with a time
// after 1970 and a hash of 16 hex digits; and every name the history writes is read back.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "HistoryNames.h"

namespace {

[[noreturn]] void fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const auto name = pilot::history::parseEntryFileName(input)) {
        if (pilot::history::entryFileName(*name) != input) {
            fail("an accepted name the history would write otherwise", input);
        }
        if (name->time < 0 || name->hash.size() != 16 ||
            name->hash.find_first_not_of("0123456789abcdef") != std::string::npos) {
            fail("an accepted name with a time or hash the history never writes", input);
        }
    }
    // Any moment and origin, picked by the bytes, named so that the reader finds them again.
    if (size >= 9) {
        std::uint64_t time = 0;
        for (std::size_t i = 0; i < 8; ++i) {
            time = (time << 8) | data[i];
        }
        const pilot::history::EntryName written{
            // Any moment whose whole seconds the nanoseconds since 1970 hold (to the year 2262).
            static_cast<std::int64_t>(time % 9'223'372'036'000'000'000ULL),
            static_cast<pilot::history::Origin>(data[8] % 3), std::string(16, 'a')};
        const std::string fileName = pilot::history::entryFileName(written);
        const auto read = pilot::history::parseEntryFileName(fileName);
        if (!read || read->time != written.time || read->origin != written.origin) {
            fail("a written name that is not read back", fileName);
        }
    }
    return 0;
}
