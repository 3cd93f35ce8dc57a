#include "HistoryNames.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "NameHash.h"

namespace pilot::history {

namespace {

struct OriginToken {
    Origin origin;
    std::string_view token;  // in the file name
    std::string_view text;   // as the user reads it
};
constexpr std::array<OriginToken, 3> kOrigins = {{
    {Origin::Opened, "opened", "opened"},
    {Origin::Replaced, "replaced", "replaced"},
    {Origin::ChangedByOther, "other-program", "changed by another program"},
}};

constexpr std::int64_t kNanoseconds = 1'000'000'000;
constexpr std::size_t kTimeLength = 26;  // 20260512T142233.123456789Z
constexpr std::size_t kHashLength = 16;
constexpr std::string_view kExtension = ".TFR";

const OriginToken& tokenOf(Origin origin) {
    for (const OriginToken& known : kOrigins) {
        if (known.origin == origin) {
            return known;
        }
    }
    return kOrigins[1];
}

std::string formatted(std::int64_t time, const char* format, bool utc) {
    const std::time_t seconds = static_cast<std::time_t>(time / kNanoseconds);
    std::tm parts{};
    if ((utc ? gmtime_r(&seconds, &parts) : localtime_r(&seconds, &parts)) == nullptr) {
        return {};
    }
    std::array<char, 64> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), format, &parts);
    return {text.data(), length};
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "20260512T142233.123456789Z" back to nanoseconds; the caller checks the rest by writing the
// name again.
std::optional<std::int64_t> parseTime(std::string_view text) {
    if (text.size() != kTimeLength || text[8] != 'T' || text[15] != '.' || text[25] != 'Z' ||
        !allDigits(text.substr(0, 8)) || !allDigits(text.substr(9, 6)) ||
        !allDigits(text.substr(16, 9))) {
        return std::nullopt;
    }
    const auto number = [&](std::size_t at, std::size_t length) {
        return std::atoi(std::string(text.substr(at, length)).c_str());
    };
    std::tm parts{};
    parts.tm_year = number(0, 4) - 1900;
    parts.tm_mon = number(4, 2) - 1;
    parts.tm_mday = number(6, 2);
    parts.tm_hour = number(9, 2);
    parts.tm_min = number(11, 2);
    parts.tm_sec = number(13, 2);
    const std::time_t seconds = timegm(&parts);
    // Nanoseconds since 1970 reach to the year 2262: a later name is no name of the history.
    constexpr std::int64_t kLastSecond = std::numeric_limits<std::int64_t>::max() / kNanoseconds;
    if (seconds < 0 || seconds >= kLastSecond) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(seconds) * kNanoseconds +
           std::atoll(std::string(text.substr(16, 9)).c_str());
}

}  // namespace

std::string_view originText(Origin origin) {
    return tokenOf(origin).text;
}

std::string contentHash(const PilotRecord& record) {
    const auto& bytes = record.bytes();
    return stableHash({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::string entryFileName(const EntryName& name) {
    std::array<char, 16> fraction{};
    std::snprintf(fraction.data(), fraction.size(), ".%09lldZ-",
                  static_cast<long long>(name.time % kNanoseconds));
    return formatted(name.time, "%Y%m%dT%H%M%S", true) + fraction.data() +
           std::string(tokenOf(name.origin).token) + "-" + name.hash + std::string(kExtension);
}

std::optional<EntryName> parseEntryFileName(std::string_view fileName) {
    constexpr std::size_t kShortest = kTimeLength + 1 + 1 + 1 + kHashLength + kExtension.size();
    if (fileName.size() < kShortest || !fileName.ends_with(kExtension)) {
        return std::nullopt;
    }
    const auto time = parseTime(fileName.substr(0, kTimeLength));
    const std::size_t hashAt = fileName.size() - kExtension.size() - kHashLength;
    const std::string_view token = fileName.substr(kTimeLength + 1, hashAt - 1 - (kTimeLength + 1));
    const std::string_view hash = fileName.substr(hashAt, kHashLength);
    if (!time || *time < 0 ||
        hash.find_first_not_of("0123456789abcdef") != std::string_view::npos) {
        return std::nullopt;
    }
    for (const OriginToken& known : kOrigins) {
        if (known.token == token) {
            EntryName name{*time, known.origin, std::string(hash)};
            // Only a name exactly as the history writes it: no other digits, case or marks.
            if (entryFileName(name) == fileName) {
                return name;
            }
        }
    }
    return std::nullopt;
}

std::string pilotFolderName(const std::filesystem::path& absolutePilot) {
    return stableHash(absolutePilot.native());
}

std::optional<std::filesystem::path> historyRoot(const char* stateHome, const char* home) {
    const std::filesystem::path tail = std::filesystem::path("brevanta") / "history";
    if (stateHome != nullptr && std::filesystem::path(stateHome).is_absolute()) {
        return std::filesystem::path(stateHome) / tail;
    }
    if (home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".local" / "state" / tail;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> historyRoot() {
    return historyRoot(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

std::string localTimeText(std::int64_t time) {
    return formatted(time, "%Y-%m-%d %H:%M:%S", false);
}

}  // namespace pilot::history
