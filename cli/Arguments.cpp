#include "Arguments.h"

#include <string_view>

namespace cli {

std::vector<std::string> commandWords(std::span<char* const> arguments,
                                      const LongOptions& options) {
    std::vector<std::string> words;
    words.reserve(arguments.size() + 1);
    bool optionsEnded = false;
    for (const char* argument : arguments) {
        const std::string_view word(argument);
        optionsEnded = optionsEnded || word == "--";
        const auto option =
            word.ends_with('=') ? options.find(word.substr(0, word.size() - 1)) : options.end();
        if (!optionsEnded && option != options.end()) {
            words.emplace_back(option->first);
            if (option->second) {
                words.emplace_back();
            }
            continue;
        }
        words.emplace_back(word);
    }
    return words;
}

const std::string* commandName(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--") {
            return nullptr;
        }
        if (!word.starts_with('-')) {
            return &word;
        }
    }
    return nullptr;
}

}  // namespace cli
