#pragma once
// The PNG encoder settings the save command asks for in the option-and-preview dialog, mode 1.

#include <optional>

#include "codecs/PngImage.h"
#include "platform/Bitmap.h"

namespace mv {

class TForm1;

// Shows TPNGOpt in mode 1 over the 188-pixel thumbnail of `picture` and answers the settings it
// closed with: the transparent colour (none while the panel reads "無し"), the compression level,
// the gamma, the write-time flag and the row filter 0. None when no thumbnail could be made (the
// message line says so), when the dialog was cancelled (no message), or when its OK refused the
// gamma entry (its Tag is -1; the dialog's box said why).
std::optional<PngWriteOptions> AskPngSaveOptions(TForm1& form, const Bitmap& picture);

}  // namespace mv
