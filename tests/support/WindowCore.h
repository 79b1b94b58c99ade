#pragma once
// The main window core with every subsystem, over a desktop of the test's choosing, and a picture
// given to it as loading a file leaves it.

#include <string>
#include <utility>

#include "app/Subsystems.h"
#include "shell/TForm1.h"

namespace mv::test {

class WindowCore {
 public:
  WindowCore(Desktop& desktop, const std::string& programFolder)
      : form(desktop, programFolder, AllSubsystems()) {
    form.Create();
  }

  // `picture` as the working image, as the load routine leaves it: the image commands enabled, the
  // zoom applied, undo entry 0, the file's path as the status bar's hint, not modified.
  void Load(Bitmap picture, const std::string& path = "/pictures/a.png") {
    form.image.Replace(std::move(picture));
    form.EnableImageCommands(true);
    form.StepZoom(0);
    form.ClearUndo();
    form.RecordUndo();
    form.controls.sb1Hint = path;
    form.image.SetModified(false);
  }

  TForm1 form;
};

}  // namespace mv::test
