#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// What reading a command line needs to know of the commands' options: the long ones
// ("--medal") and the short letters ('o'), each with whether it takes a value.
struct OptionKinds {
    std::map<std::string, bool, std::less<>> longOptions;
    std::map<char, bool> shortOptions;
};

// The file names given to a command that takes a list of them, kept as positions among the
// program's arguments rather than copied: a roster of 100,000 names costs 400 KB more than
// the arguments themselves.
class NameList {
public:
    NameList() = default;
    NameList(std::span<char* const> arguments, std::vector<std::uint32_t> positions)
        : m_arguments(arguments), m_positions(std::move(positions)) {}

    [[nodiscard]] std::size_t size() const { return m_positions.size(); }
    [[nodiscard]] std::string_view operator[](std::size_t index) const {
        return m_arguments[m_positions[index]];
    }

private:
    std::span<char* const> m_arguments;
    std::vector<std::uint32_t> m_positions;
};

// The command line after the program's name, as the option parser is to read it.
struct CommandLine {
    std::vector<std::string> words;
    std::optional<std::string> command;  // the first word that is no option
    NameList names;                      // the file names of a command in `listCommands`
};

// Reads the arguments as the option parser reads them:
// - "--name=" with nothing after the "=" becomes "--name" and an empty word when the option
//   takes a value, so that its value is the empty text rather than the word after it, and
//   "--name" alone when it is a flag.
// - For a command of `listCommands`, every word that is no option and no option's value
//   is one of its file names: they go to `names`, and the parser sees only the first, to
//   check that there is one.
// Words after "--" are no options.
[[nodiscard]] CommandLine readCommandLine(std::span<char* const> arguments,
                                          const OptionKinds& kinds,
                                          const std::set<std::string>& listCommands);

}  // namespace cli
