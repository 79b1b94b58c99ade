#include "shell/ColorNames.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "platform/IniFile.h"

namespace mv {

namespace {

struct NamedColor {
  std::string_view name;
  ColorRef color;
};

// Writing takes the first name of a colour; the last two are older spellings, read only.
constexpr std::array<NamedColor, 22> kNames = {{
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},  {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},       {"clPurple", 0x800080},  {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},     {"clRed", 0x0000FF},     {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clLtGray", 0xC0C0C0},     {"clDkGray", 0x808080},
}};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string ColorToText(ColorRef color) {
  for (const NamedColor& entry : kNames) {
    if (entry.color == color) return std::string(entry.name);
  }
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
  return text;
}

std::optional<ColorRef> TextToColor(const std::string& text) {
  for (const NamedColor& entry : kNames) {
    if (SameName(entry.name, text)) return entry.color;
  }
  const std::optional<int32_t> number = ParseIniInteger(text);
  if (!number || *number < 0 || *number > 0xFFFFFF) return std::nullopt;
  return static_cast<ColorRef>(*number);
}

}  // namespace mv
