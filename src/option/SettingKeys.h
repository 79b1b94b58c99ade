#pragma once
// The keys of the settings file that the settings dialog maintains (the program reads them but never
// writes them), with their defaults, ranges, captions and the group they are shown in.

#include <array>
#include <cstdint>

namespace mv {

enum class SettingKind { Boolean, Integer };

struct SettingKey {
  const char* section;
  const char* key;
  SettingKind kind;
  int32_t defaultValue;  // booleans: 0 or 1
  int32_t minimum;       // integers only
  int32_t maximum;
  const char* group;  // the group box the setting is shown in
  const char* caption;
};

extern const std::array<SettingKey, 10> kSettingKeys;

}  // namespace mv
