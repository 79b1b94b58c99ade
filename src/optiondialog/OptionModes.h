#pragma once
// The modes of the option-and-preview dialog TPNGOpt as data: one row per mode with its title, the
// set-up of both sliders, both radio groups, the colour panel, the gamma entry and the time box, its
// help topic and how its preview is computed. Controls a mode does not mention are hidden and keep
// their design-time state (a command may still read them: colour pencil reads the hidden slider 1).

#include <optional>
#include <string>
#include <vector>

#include "platform/Color.h"

namespace mv {

// What a slider's read-out shows for position p.
enum class ReadOut { Position, Hundredths, Tenths, PlusFive };

struct SliderSetup {
  std::string caption;
  int minimum = 0;
  int maximum = 0;
  int position = 0;  // mode 8's slider 1 starts at the automatic threshold instead
  int tick = 1;
  std::string lowWord;
  std::string highWord;
  ReadOut readOut = ReadOut::Position;
};

struct RadioSetup {
  std::string caption;
  std::vector<std::string> items;
  int index = 0;
  std::string hint;
};

struct PanelSetup {
  std::string label;               // Label5
  std::string caption;             // Panel1's own caption ("無し" reads as no colour)
  std::optional<ColorRef> colour;  // none: the button face
};

// How a mode's preview is computed from the thumbnail.
enum class PreviewKind {
  None,            // saving modes: the thumbnail as it is
  ColourFunction,  // the colour driver with the command's pixel operation (2, 3, 4, 8, 13, 15, 17, 21, 22)
  Neighbourhood,   // the kernel fetch and the neighbourhood pass (5, 6, 9, 14, 16, 18, 19, 100, 200, 210)
  Emboss,          // the pass ORed over the base colour (7)
  Edges,           // line art shown inverted (10); edge enhancement, the edges added to the thumbnail (11)
  Unsharp,         // the unsharp mask (101) and edge detection (102) with their bitmap arithmetic
  Blocks,          // the mosaic's block engine (20)
};

struct ModeSetup {
  int mode = 0;
  std::string title;
  std::optional<SliderSetup> slider1;
  std::optional<SliderSetup> slider2;
  std::optional<RadioSetup> radio1;
  std::optional<RadioSetup> radio2;
  std::optional<PanelSetup> panel;
  bool gammaEntry = false;
  bool timeBox = false;
  std::string helpTopic;
  PreviewKind preview = PreviewKind::None;
};

// The row of `mode`, or none for a mode the dialog does not know (it then shows no control).
const ModeSetup* FindModeSetup(int mode);

// The help topic of a mode ("h001" for any mode without a row of its own).
std::string TransHelpTopic(int mode);

// The read-out text of a slider at `position`.
std::string ReadOutText(ReadOut rule, int position);

}  // namespace mv
