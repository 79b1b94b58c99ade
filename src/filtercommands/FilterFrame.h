#pragma once
// The frame of a neighbourhood-filter command (the filter menu, emboss, colour pencil, motion blur
// and wind): the copy of the processing rectangle, padded by the recipe's radius before or after the
// option dialog, the dialog in the command's mode, the kernel fetch, the pass, an optional step that
// turns the pass's result into the picture to draw, the picture drawn at the rectangle's corner and
// the undo entry.
//
// A cancelled dialog or a missing kernel library changes nothing and records nothing. A pass (or a
// later step) that gives no result draws nothing; the undo entry is then still recorded unless the
// command says otherwise.

#include <functional>
#include <optional>
#include <string>

#include "filtering/FilterRecipe.h"
#include "optiondialog/DialogChoices.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"

namespace mv {

class TForm1;

struct FilterCommand {
  int dialogMode = 0;
  // The copy is padded before the dialog (which then shows the padded copy) for the 3 x 3 filters;
  // after it for the sizes the dialog chooses.
  bool padBeforeDialog = true;
  // The recipe from the dialog's answer; empty: the dialog mode's own (FilterRecipeFor).
  std::function<FilterRecipe(const OptionResult& options)> recipe;
  std::function<std::string(const OptionResult& options)> caption;
  // Whether the dialog's answer lets the command go on (may be empty: always).
  std::function<bool(const OptionResult& options)> proceeds;
  // From the pass's result to the picture drawn at the rectangle's corner (may be empty). `region`
  // is the unpadded copy of the processing rectangle, `rect` the rectangle in the working image.
  std::function<std::optional<Bitmap>(Bitmap filtered, const Bitmap& region, const OptionResult& options,
                                      const Rect& rect)>
      finish;
  bool recordWithoutResult = true;
};

// True when the working image changed.
bool RunFilterCommand(TForm1& form, const FilterCommand& command);

// The dialog's answer as the recipes read it.
DialogChoices ChoicesOf(const OptionResult& options);

}  // namespace mv
