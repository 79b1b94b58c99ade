#include "depth/DepthCommands.h"

#include "codecs/Quantizer.h"
#include "shell/CursorScope.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr int kDepthGroup = 1;

}  // namespace

DepthCommands::DepthCommands(TForm1& form) : form(form) {
  form.menus.Add(kDepthPopupMenu, MakeMenuItem("N24bit1", "24bit", [this] { N24bit1Click(); })).radioGroup =
      kDepthGroup;
  form.menus.Add(kDepthPopupMenu, MakeMenuItem("N8bit1", "8bit", [this] { N8bit1Click(); })).radioGroup =
      kDepthGroup;
}

// The converted picture is recorded after the conversion, as every command's result is, so that
// undo goes back to the picture before it and redo brings the conversion back.
void DepthCommands::N24bit1Click() {
  MenuItem& item = form.menus.Get("N24bit1");
  if (item.checked || !form.image.Exists()) return;
  Bitmap converted = form.image.Picture().ToBgr24();
  form.image.Replace(std::move(converted));
  form.RecordUndo();
  form.menus.SetChecked(item, true);
  form.controls.sb1[4].text = "24 bit";
}

void DepthCommands::N8bit1Click() {
  MenuItem& item = form.menus.Get("N8bit1");
  if (item.checked || !form.image.Exists()) return;
  const HourglassScope hourglass(form.desktop);
  Bitmap converted = QuantizeTo8Bit(form.image.Picture());
  form.image.Replace(std::move(converted));
  form.RecordUndo();
  form.menus.SetChecked(item, true);
  form.controls.sb1[4].text = "8 bit";
}

}  // namespace mv
