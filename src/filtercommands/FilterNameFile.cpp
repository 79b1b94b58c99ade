#include "filtercommands/FilterNameFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace mv {

namespace {

constexpr std::size_t kLongestName = 1024;

// Whether `text` is UTF-8 without control characters (a tab aside).
bool IsPrintableUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<uint8_t>(text[i]);
    int length = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
      length = 1, code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07u;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(length) > text.size()) return false;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<uint8_t>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3Fu);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if ((code < 0x20 && code != '\t') || code == 0x7F) return false;
    i += static_cast<std::size_t>(length);
  }
  return true;
}

// Up to `count` bytes from the start of a regular file; none for anything else.
std::optional<std::string> Head(const std::string& path, std::size_t count) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    std::string buffer(count, '\0');
    std::size_t filled = 0;
    while (filled < count) {
      const ssize_t got = ::read(fd, buffer.data() + filled, count - filled);
      if (got <= 0) break;
      filled += static_cast<std::size_t>(got);
    }
    buffer.resize(filled);
    bytes = std::move(buffer);
  }
  ::close(fd);
  return bytes;
}

}  // namespace

std::string CustomFilterCaption(const std::string& path) {
  const std::optional<std::string> head = Head(path, kLongestName + 4);
  if (!head) return kDefaultCustomFilterCaption;
  std::string_view text = *head;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos && head->size() > kLongestName) return kDefaultCustomFilterCaption;
  const std::string_view line = text.substr(0, end);
  if (line.empty() || line.size() > kLongestName || !IsPrintableUtf8(line))
    return kDefaultCustomFilterCaption;
  return std::string(line);
}

void RemoveFilterNameFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) ::unlink(path.c_str());
}

}  // namespace mv
