#include "measure/ShiftJis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace mv {

namespace {

class Converter {
 public:
  Converter() : cd_(iconv_open("CP932", "UTF-8")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("Shift-JIS conversion unavailable");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t Get() const { return cd_; }

 private:
  iconv_t cd_;
};

// The length of the UTF-8 sequence at the start of `text` when it is well formed (or well begun and
// cut short by the end), else 1, so a character the code page lacks is replaced as a whole and a
// stray byte on its own.
std::size_t SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = std::min(text.size(), std::size_t{lead < 0xC2   ? 1u
                                                               : lead < 0xE0 ? 2u
                                                               : lead < 0xF0 ? 3u
                                                               : lead < 0xF5 ? 4u
                                                                             : 1u});
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

std::string ToShiftJis(std::string_view utf8) {
  const Converter converter;
  std::string out;
  out.reserve(utf8.size());
  char buffer[256];
  std::size_t position = 0;
  while (position < utf8.size()) {
    char* in = const_cast<char*>(utf8.data() + position);
    std::size_t inLeft = utf8.size() - position;
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    const std::size_t result = iconv(converter.Get(), &in, &inLeft, &to, &toLeft);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    position = utf8.size() - inLeft;
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    // EILSEQ (not in the code page, or not UTF-8) or EINVAL (cut short at the end).
    out += '?';
    position += SequenceLength(utf8.substr(position));
    iconv(converter.Get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace mv
