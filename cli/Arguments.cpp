#include "Arguments.h"

#include <string_view>

namespace cli {

std::vector<std::string> commandWords(std::span<char* const> arguments) {
    std::vector<std::string> words;
    words.reserve(arguments.size() + 1);
    bool optionsEnded = false;
    for (const char* argument : arguments) {
        const std::string_view word(argument);
        optionsEnded = optionsEnded || word == "--";
        if (!optionsEnded && word.size() > 3 && word.starts_with("--") && word.ends_with('=') &&
            word.find('=') == word.size() - 1) {
            words.emplace_back(word.substr(0, word.size() - 1));
            words.emplace_back();
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
