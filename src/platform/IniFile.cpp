#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <span>

#include "platform/AtomicFile.h"
#include "platform/Numbers.h"
#include "platform/OpenFile.h"

namespace mv {

namespace {

constexpr std::size_t npos = std::string::npos;

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

// The name of a "[Section]" line, or nullopt when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

// The key and value of a "Key=Value" line, or nullopt for any other line.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == npos) return std::nullopt;
  const std::string_view key = Trim(line.substr(0, equals));
  if (key.empty() || key.front() == '[') return std::nullopt;
  return KeyLine{key, Trim(line.substr(equals + 1))};
}

// A file that exists and that we may not write, or that no one may write.
bool IsReadOnly(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool IsBlank(std::string_view line) {
  return Trim(line).empty();
}

std::optional<uint64_t> ParseDigits(std::string_view digits, int base) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (!text.empty() && text.front() == '$') {
    hex = true;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    text.remove_prefix(2);
  }
  // from_chars would take a sign of its own; only the one handled above is allowed.
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) return std::nullopt;
  const std::optional<uint64_t> magnitude = ParseDigits(text, hex ? 16 : 10);
  if (!magnitude) return std::nullopt;
  if (hex) {
    // Hexadecimal text names the 32 bits themselves, so "$FFFFFFFF" is -1.
    if (*magnitude > 0xFFFFFFFFu) return std::nullopt;
    const auto bits = static_cast<int32_t>(static_cast<uint32_t>(*magnitude));
    return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(bits)) : bits;
  }
  const int64_t value = negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
  if (*magnitude > (uint64_t{1} << 31) || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<double> ParseIniFloat(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<IniFile> IniFile::Read(const std::string& path) {
  const FileHandle file = OpenFile(path, O_RDONLY, FileKinds::Regular);
  if (!file.IsOpen()) {
    if (file.Error() == ENOENT) return IniFile();
    return std::nullopt;
  }
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(file.Descriptor(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    if (text.size() + static_cast<std::size_t>(n) > kMaxFileSize) return std::nullopt;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return Parse(text);
}

IniFile IniFile::Load(const std::string& path) {
  return Read(path).value_or(IniFile());
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  const std::size_t firstEnd = text.find('\n');
  if (firstEnd != npos) file.lineEnd_ = firstEnd > 0 && text[firstEnd - 1] == '\r' ? "\r\n" : "\n";
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    file.lines_.emplace_back(line);
    start = end + 1;
  }
  return file;
}

std::size_t IniFile::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (name && SameText(*name, section)) return i;
  }
  return npos;
}

std::size_t IniFile::FindKey(std::size_t header, std::string_view key) const {
  for (std::size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
    const auto entry = ParseKeyLine(lines_[i]);
    if (entry && SameText(entry->key, key)) return i;
  }
  return npos;
}

std::optional<std::string> IniFile::ReadString(std::string_view section, std::string_view key) const {
  const std::size_t header = FindSection(section);
  if (header == npos) return std::nullopt;
  const std::size_t line = FindKey(header, key);
  if (line == npos) return std::nullopt;
  return std::string(ParseKeyLine(lines_[line])->value);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
  return ReadString(section, key).value_or(fallback);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  const auto text = ReadString(section, key);
  if (!text) return fallback;
  return ParseIniInteger(*text).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double fallback) const {
  const auto text = ReadString(section, key);
  if (!text) return fallback;
  return ParseIniFloat(*text).value_or(fallback);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string line(key);
  line.append("=").append(value);
  const std::size_t header = FindSection(section);
  if (header == npos) {
    std::string headerLine = "[";
    headerLine.append(section).append("]");
    lines_.push_back(std::move(headerLine));
    lines_.push_back(std::move(line));
    return;
  }
  const std::size_t existing = FindKey(header, key);
  if (existing != npos) {
    lines_[existing] = std::move(line);
    return;
  }
  std::size_t last = header;
  for (std::size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
    if (!IsBlank(lines_[i])) last = i;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), std::move(line));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, FormatG(value, 15));
}

std::string IniFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += lineEnd_;
  }
  return text;
}

void IniFile::Save(const std::string& path) const {
  const std::string target = WriteTarget(path);
  if (IsReadOnly(target)) throw IniWriteError(path, "the file is read-only; the settings were not saved");
  const std::string text = Text();
  try {
    WriteFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  } catch (const FileWriteError&) {
    throw IniWriteError(path);
  }
}

}  // namespace mv
