#pragma once
// The text of a macro file: one action per line, tokens separated by blanks, a token may be double-
// quoted with the escapes \" \\ \r \n; blank lines and lines starting with '#' are skipped.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mv {

struct MacroLine {
  int number = 0;  // 1-based line number in the file
  std::vector<std::string> tokens;
};

// A syntax error: what() is "line N: reason".
class MacroSyntaxError : public std::runtime_error {
 public:
  MacroSyntaxError(int line, const std::string& reason)
      : std::runtime_error("line " + std::to_string(line) + ": " + reason) {}
};

// Splits a file's text into its action lines. Throws MacroSyntaxError for a broken token or a NUL
// byte in an action line.
std::vector<MacroLine> SplitMacro(const std::string& text);

// A text in double quotes with the file's escapes, as the runner prints texts.
std::string Quote(const std::string& text);

// A whole token as a decimal integer, or nullopt.
std::optional<long long> ParseMacroInteger(const std::string& token);

}  // namespace mv
