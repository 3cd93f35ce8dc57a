#include "NameSuggestion.h"

#include <algorithm>
#include <vector>

namespace pilot {

namespace {

constexpr std::size_t kMostSlips = 2;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The slips between two words, ignoring case: letters left out, added or changed, and two
// neighbours swapped, each counting one (the optimal string alignment distance).
std::size_t slips(std::string_view a, std::string_view b) {
    const std::size_t width = b.size() + 1;
    std::vector<std::size_t> cost((a.size() + 1) * width);
    const auto at = [&](std::size_t i, std::size_t j) -> std::size_t& {
        return cost[i * width + j];
    };
    for (std::size_t i = 0; i <= a.size(); ++i) {
        at(i, 0) = i;
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        at(0, j) = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t changed = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + changed});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
                lower(a[i - 2]) == lower(b[j - 1])) {
                at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
            }
        }
    }
    return at(a.size(), b.size());
}

}  // namespace

std::optional<std::string_view> likelyMeant(std::span<const std::string_view> names,
                                            std::string_view text) {
    std::optional<std::string_view> best;
    std::size_t bestSlips = kMostSlips + 1;
    bool tied = false;
    for (const std::string_view name : names) {
        const std::size_t count = slips(name, text);
        // A slip in a short word leaves little of it.
        if (count >= std::max<std::size_t>(1, name.size() / 2) && count != 0) {
            continue;
        }
        if (count < bestSlips) {
            best = name;
            bestSlips = count;
            tied = false;
        } else if (count == bestSlips) {
            tied = true;
        }
    }
    if (!best || tied) {
        return std::nullopt;
    }
    return best;
}

}  // namespace pilot
