#pragma once
// Saving: "保存(&S)" (S1, Ctrl+S) writes the working image in the format its name asks for, with the
// options of that format's dialog: the JPEG quality from the option library, the GIF transparent
// colour from the option-and-preview dialog in mode 0, the PNG settings from it in mode 1; BMP as
// the picture is. The confirm-discard check saves through the same handler with S1Tag = 1 and reads
// from S1Tag = 0 that the file was written.

#include <optional>

#include "codecs/ImageFormats.h"
#include "saving/SaveTarget.h"
#include "shell/Desktop.h"
#include "shell/Subsystem.h"

namespace mv {

class TForm1;

class SaveCommands : public Subsystem {
 public:
  explicit SaveCommands(TForm1& form);

  // The save command. Nothing is written when a dialog is cancelled; a file that cannot be written
  // is reported with the error box and changes nothing (any file at the target stays as it was, the
  // image stays modified and S1Tag keeps its value). Only a written file updates the message line,
  // the status panels and hint, the modified flag and S1Tag.
  void S1Click();

  // The save dialog as S1Click shows it: the hint as its starting place, the loaded format's filter.
  FileDialogRequest SaveDialogRequest() const;

 private:
  // The writer's options for the target's format from its dialog; none when the user cancelled or
  // the dialog could not be shown (the reason is on the message line or in a box).
  std::optional<EncodeOptions> AskEncodeOptions(const SaveTarget& target);
  std::optional<EncodeOptions> AskJpegQuality();
  std::optional<EncodeOptions> AskGifTransparency();
  void Saved(const std::string& path);

  TForm1& form;
};

}  // namespace mv
