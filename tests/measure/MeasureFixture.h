#pragma once
// A main window with a 200 x 150 picture on the scripted desktop of the macro runner: boxes are
// printed to `out` and answered from queued answers, as are the option library's dialogs.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "macro/ScriptedDesktop.h"
#include "measure/MeasureCommands.h"
#include "shell/TForm1.h"
#include "support/Pictures.h"
#include "support/WindowCore.h"

namespace mv {

class MeasureFixture : public ::testing::Test {
 protected:
  static constexpr ColorRef kPlate = MakeColor(200, 200, 200);
  static constexpr ColorRef kLine = MakeColor(0, 0, 255);

  MeasureFixture() {
    form_.controls.label2Color = kLine;
    window_.Load(test::Plate(200, 150, kPlate), "");
  }

  void Press(int x, int y, MouseButton button = MouseButton::Left) {
    MouseEvent event;
    event.button = button;
    event.x = x;
    event.y = y;
    desktop_.SetPointer({x, y});
    form_.ImageMouseDown(event);
    form_.ImageMouseUp(event);
  }
  void Move(int x, int y) {
    MouseEvent event;
    event.x = x;
    event.y = y;
    desktop_.SetPointer({x, y});
    form_.ImageMouseMove(event);
  }
  // A menu item as the user reaches it: its menu opens first (the Tool menu, the context menu).
  void Choose(const std::string& item) {
    MenuItem& chosen = form_.menus.Get(item);
    form_.MenuOpening(chosen.parent->name);
    form_.MenuChosen(item);
  }
  void Answer(const std::string& kind, std::vector<std::string> values) {
    desktop_.Answers().Push(mv::Answer{kind, std::move(values)});
  }
  // A finished figure clicked at view positions; `kind` 1 polyline, 2 polygon.
  void Figure(int32_t kind, const std::vector<Point>& clicks) {
    Choose(kind == kPolyline ? "N10" : "N15");
    for (const Point& p : clicks) Press(p.x, p.y);
    Press(clicks.back().x, clicks.back().y, MouseButton::Middle);
  }
  bool Enabled(const std::string& item) { return form_.menus.Get(item).enabled; }

  // The measurement subsystem's own state (the input in progress).
  MeasureCommands& Measure() { return *form_.FindSubsystem<MeasureCommands>(); }

  std::ostringstream out_;
  ScriptedDesktop desktop_{out_, "/nonexistent-program-folder"};
  test::WindowCore window_{desktop_, "/nonexistent-program-folder"};
  TForm1& form_ = window_.form;
};

}  // namespace mv
