#pragma once
// A settings file in the private-profile format: "[Section]" headers and "Key=Value" lines.
//
// Sections and keys are matched without regard to ASCII case, and the first match wins; values are
// trimmed of blanks. A line that is neither a header nor a key line is skipped when reading and kept
// when writing, as are all lines the writer does not touch. A written key replaces its line, or is
// added after the last non-blank line of its section; a new section is added at the end of the file.
// A missing file reads as an empty one, so every key takes its default.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mv {

// Raised when the settings file cannot be written; what() names the file (and the reason, if known).
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const std::string& path) : std::runtime_error("Unable to write to " + path) {}
  IniWriteError(const std::string& path, const std::string& reason)
      : std::runtime_error("Unable to write to " + path + ": " + reason) {}
};

class IniFile {
 public:
  // Files larger than this are not read: no settings file is that large, and reading one would
  // take memory and time in proportion to it.
  static constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;

  IniFile() = default;
  // The document held by `path`: an empty one when nothing is there; nullopt when something is
  // there that cannot be read (no permission, a folder, a named pipe or any other file that is not
  // a regular one, a file larger than kMaxFileSize). Never waits on a named pipe.
  static std::optional<IniFile> Read(const std::string& path);
  // Read(path), with a file that cannot be read taken as an empty one.
  static IniFile Load(const std::string& path);
  static IniFile Parse(std::string_view text);

  // The trimmed value of the first matching key of the first matching section.
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, const std::string& fallback) const;
  // Decimal, "$hex" or "0x" hex with an optional sign; anything else gives the fallback.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  // An integer other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
  // A decimal number with '.' as the decimal point, whatever the locale; anything else (also an
  // infinite or undefined value) gives the fallback.
  double ReadFloat(std::string_view section, std::string_view key, double fallback) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int64_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  // Up to 15 significant digits.
  void WriteFloat(std::string_view section, std::string_view key, double value);

  // The file's text with the line ends it was read with (CR LF for a new file).
  std::string Text() const;
  // Writes the text to a temporary file beside `path` and renames it over `path`, so a failure
  // never leaves a half-written settings file. A symbolic link is written through: the file it
  // points to is replaced and the link stays. A file marked read-only (no write permission for us,
  // or none for anyone) is left as it is. A replaced file keeps its permission bits. Throws
  // IniWriteError.
  void Save(const std::string& path) const;

 private:
  // Index of the header line of the first matching section, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the first matching key line inside the section whose header is at `header`, or npos.
  std::size_t FindKey(std::size_t header, std::string_view key) const;

  std::vector<std::string> lines_;
  std::string lineEnd_ = "\r\n";
};

// Parsers behind the typed reads, exposed for the settings of other files.
std::optional<int32_t> ParseIniInteger(std::string_view text);
std::optional<double> ParseIniFloat(std::string_view text);

}  // namespace mv
