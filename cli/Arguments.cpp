#include "Arguments.h"

#include <utility>

namespace cli {

namespace {

// As the option parser tells an option from a value: a word of a dash and more, except a
// negative number where no option has a digit for its letter ("-" alone is a value).
bool looksLikeOption(std::string_view word, const OptionKinds& kinds) {
    if (word.size() < 2 || word.front() != '-') {
        return false;
    }
    const char letter = word[1];
    return !(letter >= '0' && letter <= '9') || kinds.shortOptions.contains(letter);
}

// Whether the option word takes the next word as its value.
bool takesNextWord(std::string_view word, const OptionKinds& kinds) {
    if (word.starts_with("--")) {
        const auto option = kinds.longOptions.find(word);
        return option != kinds.longOptions.end() && option->second;
    }
    const auto option = kinds.shortOptions.find(word[1]);
    return word.size() == 2 && option != kinds.shortOptions.end() && option->second;
}

}  // namespace

CommandLine readCommandLine(std::span<char* const> arguments, const OptionKinds& kinds,
                            const std::set<std::string>& listCommands) {
    CommandLine line;
    std::vector<std::uint32_t> names;
    bool optionsEnded = false;
    bool valueExpected = false;
    bool listed = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string_view word(arguments[at]);
        const bool option = !optionsEnded && looksLikeOption(word, kinds);
        if (std::exchange(valueExpected, false) && !option) {
            line.words.emplace_back(word);
            continue;
        }
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            line.words.emplace_back(word);
            continue;
        }
        if (option) {
            const auto empty = word.ends_with('=') && word.starts_with("--")
                                   ? kinds.longOptions.find(word.substr(0, word.size() - 1))
                                   : kinds.longOptions.end();
            if (empty != kinds.longOptions.end()) {
                line.words.emplace_back(empty->first);
                if (empty->second) {
                    line.words.emplace_back();
                }
                continue;
            }
            valueExpected = takesNextWord(word, kinds);
            line.words.emplace_back(word);
            continue;
        }
        if (!line.command && !optionsEnded) {
            line.command = word;
            listed = listCommands.contains(*line.command);
        } else if (listed) {
            names.push_back(static_cast<std::uint32_t>(at));
            if (names.size() > 1) {
                continue;
            }
        }
        line.words.emplace_back(word);
    }
    line.names = NameList(arguments, std::move(names));
    return line;
}

}  // namespace cli
