#pragma once
// Colours as the settings file stores them: a standard colour name ("clBlue") where the colour has
// one, otherwise "$00BBGGRR".

#include <optional>
#include <string>

#include "platform/Color.h"

namespace mv {

std::string ColorToText(ColorRef color);
// A standard name (any case) or a number in decimal, "$hex" or "0x" hex naming an RGB colour;
// nullopt for anything else (system colours included).
std::optional<ColorRef> TextToColor(const std::string& text);

}  // namespace mv
