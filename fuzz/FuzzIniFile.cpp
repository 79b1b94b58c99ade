// Fuzz target: the settings-file reader and writer on arbitrary bytes. Reading must never fail, and a
// key written into any file must read back, also after the text is parsed again.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  mv::IniFile ini = mv::IniFile::Parse(text);
  (void)ini.ReadInteger("Scroll", "Normal", 8);
  (void)ini.ReadBool("Mode", "GraphicViewer", true);
  (void)ini.ReadFloat("Zoom", "Ratio", 1.0);
  (void)ini.ReadString("Pen", "Color", "clBlue");
  ini.WriteString("zoom", "RATIO", "0.5");
  ini.WriteInteger("Brand New", "Key", -7);
  const mv::IniFile again = mv::IniFile::Parse(ini.Text());
  if (again.ReadString("Zoom", "Ratio") != "0.5" || again.ReadInteger("brand new", "key", 0) != -7) {
    __builtin_trap();
  }
  return 0;
}
