#pragma once
// The Edit menu's geometry commands: rotating, mirroring and flipping the processing rectangle
// through the processing frame, and resizing the whole image.

#include "shell/Subsystem.h"

namespace mv {

class TForm1;

class GeometryCommands : public Subsystem {
 public:
  explicit GeometryCommands(TForm1& form);

  void N901Click();  // rotate clockwise
  void N902Click();  // rotate counter-clockwise
  void N26Click();   // mirror left to right
  void N27Click();   // flip top to bottom
  void BitBtn5Click();
  void BitBtn6Click();
  void N52Click();  // resize
  // The four transforms (0 clockwise, 1 counter-clockwise, 2 mirror, 3 flip) on the processing
  // rectangle; the selection and, for the whole image, the figures follow.
  void TransformRegion(int code);
  // Every figure point moved as the whole picture was transformed (its size is the new one).
  void TransformFigures(int code);

 private:
  TForm1& form;
};

}  // namespace mv
