#pragma once
// The controls of the main window other than the menus, as data the window shows: the caption, the
// message line Label1, the line-colour caption Label2, the buttons of the bottom bar pn1 and the side
// bar pn2, the twelve colour panels and the six status panels of sb1 with the bar's hint.
//
// A button or colour panel does nothing until the command behind it registers its click handler;
// a button stays disabled until then.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/Color.h"
#include "platform/Geometry.h"

namespace mv {

enum class Alignment { Left, Center, Right };

struct StatusPanel {
  std::string text;
  int width = 0;
  Alignment alignment = Alignment::Left;
};

struct BarButton {
  std::string name;  // BitBtn1 … BitBtn13
  std::string hint;
  bool enabled = false;
  bool visible = true;
  std::function<void()> onClick;
};

struct ColorPanel {
  std::string name;  // Panel1 … Panel12
  std::string hint;
  Point position;  // left, top on the side bar
  ColorRef color = 0;
  std::function<void()> onClick;
};

struct FormControls {
  FormControls();

  BarButton* FindButton(const std::string& name);
  // Whether the button's bar is shown.
  bool BarShown(const BarButton& button) const;
  ColorPanel* FindColorPanel(const std::string& name);
  // Gives a button its behaviour and enables it.
  void SetButtonHandler(const std::string& name, std::function<void()> handler);

  std::string caption;
  std::string label1;          // the message line
  ColorRef label2Color = 0;    // the line colour, shown as Label2's font colour
  std::vector<BarButton> pn1;  // bottom bar, in the order they stand from left to right
  std::vector<BarButton> pn2;  // side bar, top to bottom
  bool pn1Visible = true;
  bool pn2Visible = true;
  std::array<ColorPanel, 12> colorPanels;
  std::array<StatusPanel, 6> sb1;
  std::string sb1Hint;  // full path of the current file; empty when the image came from no file
};

// The status panels' fixed widths; panel 1 takes what the others leave of the window's width.
inline constexpr std::array<int, 6> kStatusPanelWidths = {90, 0, 70, 70, 40, 80};
inline constexpr int kSideBarWidth = 28;

}  // namespace mv
