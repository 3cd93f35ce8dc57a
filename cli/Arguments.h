#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

namespace cli {

// The long options of the commands ("--medal"), each with whether it takes a value.
using LongOptions = std::map<std::string, bool, std::less<>>;

// The words of the command line after the program's name, as the option parser is to read
// them. "--name=" with nothing after the "=" becomes "--name" and an empty word when the
// option takes a value, so that its value is the empty text rather than the word after it,
// and "--name" alone when it is a flag. Words after "--" are left alone.
[[nodiscard]] std::vector<std::string> commandWords(std::span<char* const> arguments,
                                                    const LongOptions& options);

// The first word that names no option: the command, if the line has one.
[[nodiscard]] const std::string* commandName(const std::vector<std::string>& words);

}  // namespace cli
