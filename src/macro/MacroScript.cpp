#include "macro/MacroScript.h"

#include <charconv>

namespace mv {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// Reads the quoted token starting at text[pos] == '"'; pos ends after the closing quote.
std::string ReadQuoted(const std::string& text, std::size_t& pos, int line) {
  std::string token;
  ++pos;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == '"') {
      if (pos < text.size() && !IsBlank(text[pos]))
        throw MacroSyntaxError(line, "text after a closing quote");
      return token;
    }
    if (c != '\\') {
      token += c;
      continue;
    }
    if (pos >= text.size()) break;
    const char escaped = text[pos++];
    switch (escaped) {
      case '"':
        token += '"';
        break;
      case '\\':
        token += '\\';
        break;
      case 'r':
        token += '\r';
        break;
      case 'n':
        token += '\n';
        break;
      default:
        throw MacroSyntaxError(line, std::string("unknown escape \\") + escaped);
    }
  }
  throw MacroSyntaxError(line, "unterminated quote");
}

std::vector<std::string> Tokenize(const std::string& text, int line) {
  std::vector<std::string> tokens;
  std::size_t pos = 0;
  while (true) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos >= text.size()) return tokens;
    if (text[pos] == '"') {
      tokens.push_back(ReadQuoted(text, pos, line));
      continue;
    }
    const std::size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    tokens.push_back(text.substr(start, pos - start));
  }
}

}  // namespace

std::vector<MacroLine> SplitMacro(const std::string& text) {
  std::vector<MacroLine> lines;
  std::size_t start = 0;
  int number = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;
    // A path with a NUL byte would end there for the system ("a.bmp\0.png" opens a.bmp).
    if (line.find('\0') != std::string::npos) throw MacroSyntaxError(number, "NUL byte in the line");
    lines.push_back({number, Tokenize(line, number)});
  }
  return lines;
}

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\n':
        quoted += "\\n";
        break;
      default:
        quoted += c;
    }
  }
  return quoted + "\"";
}

std::optional<long long> ParseMacroInteger(const std::string& token) {
  long long value = 0;
  const char* begin = token.data();
  const char* end = token.data() + token.size();
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (token.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace mv
