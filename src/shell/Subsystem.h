#pragma once
// A subsystem of the main window: one area of commands (measurement, geometry, …) as one class that
// owns its state and its handlers. It is made when the window is created, after the core's own
// commands, and adds itself in its constructor: its menu items and menus (MenuModel, placed by the
// layout tables), its bar buttons and colour panels (FormControls), its mouse handlers on the image
// area (TForm1::mouse…Handlers) and its overlay (ImageArea::paintHandlers). Handlers keep the names
// of the components and events they belong to (MeasureCommands::N13Click), so a menu item's code is
// found by searching its component name.
//
// The core knows no subsystem: the composition root (src/app) lists them.

#include <functional>
#include <memory>
#include <vector>

namespace mv {

class TForm1;

class Subsystem {
 public:
  Subsystem() = default;
  virtual ~Subsystem() = default;
  Subsystem(const Subsystem&) = delete;
  Subsystem& operator=(const Subsystem&) = delete;
};

// Makes a subsystem for the window being created.
using SubsystemFactory = std::function<std::unique_ptr<Subsystem>(TForm1& form)>;
using SubsystemList = std::vector<SubsystemFactory>;

}  // namespace mv
