#pragma once

#include <span>
#include <string>
#include <vector>

namespace cli {

// The words of the command line after the program's name, as the option parser is to read
// them: "--name=" with nothing after the "=" becomes "--name" and an empty word, so that the
// option's value is the empty text rather than the word after it. Words after "--" are
// left alone.
[[nodiscard]] std::vector<std::string> commandWords(std::span<char* const> arguments);

// The first word that names no option: the command, if the line has one.
[[nodiscard]] const std::string* commandName(const std::vector<std::string>& words);

}  // namespace cli
