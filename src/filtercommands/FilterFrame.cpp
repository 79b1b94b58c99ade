#include "filtercommands/FilterFrame.h"

#include "filtering/BorderPadding.h"
#include "optiondialog/FilterRecipes.h"
#include "shell/OptionDialogs.h"
#include "shell/ProcessingFrame.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// What the dialog and the fetch leave for the pass.
struct Prepared {
  OptionResult options;
  FilterRecipe recipe;
  FetchedKernel kernel;
  Bitmap padded;
};

std::optional<Prepared> Prepare(TForm1& form, const FilterCommand& command, const Bitmap& copy) {
  // Before the dialog the radius is the 3 x 3 filters' 1; after it, the recipe's.
  std::optional<Bitmap> padded;
  if (command.padBeforeDialog && !(padded = PadBorder(copy, 1))) return std::nullopt;
  Prepared prepared;
  prepared.options = AskOptions(form, padded ? *padded : copy, command.dialogMode);
  if (!prepared.options.accepted) return std::nullopt;
  if (command.proceeds && !command.proceeds(prepared.options)) return std::nullopt;
  prepared.recipe = command.recipe ? command.recipe(prepared.options)
                                   : *FilterRecipeFor(command.dialogMode, ChoicesOf(prepared.options));
  std::optional<FetchedKernel> kernel =
      FetchRecipeKernel(prepared.recipe, form.programFolder, form.GetFeedback());
  if (!kernel) return std::nullopt;
  prepared.kernel = std::move(*kernel);
  if (!padded && !(padded = PadBorder(copy, prepared.recipe.radius))) return std::nullopt;
  prepared.padded = std::move(*padded);
  return prepared;
}

}  // namespace

DialogChoices ChoicesOf(const OptionResult& options) {
  DialogChoices choices;
  choices.slider1 = options.slider1;
  choices.slider2 = options.slider2;
  choices.radio1 = options.filterChoice;
  choices.radio2 = options.evaluationChoice;
  if (options.colour != -1) choices.colour = static_cast<ColorRef>(options.colour);
  return choices;
}

bool RunFilterCommand(TForm1& form, const FilterCommand& command) {
  std::optional<Prepared> prepared;
  FrameCommand frame;
  frame.askParameters = [&](const Bitmap& copy) {
    prepared = Prepare(form, command, copy);
    return prepared.has_value();
  };
  frame.work = [&](Bitmap& copy, const Rect& rect) -> std::optional<Bitmap> {
    PassReporting reporting;
    reporting.caption = command.caption(prepared->options);
    reporting.showProgress = form.settings.ShowProgress;
    std::optional<Bitmap> filtered = RunRecipePass(
        prepared->recipe, prepared->kernel, std::move(prepared->padded), reporting, form.GetFeedback());
    if (!filtered || !command.finish) return filtered;
    return command.finish(std::move(*filtered), copy, prepared->options, rect);
  };
  frame.recordWithoutResult = command.recordWithoutResult;
  return form.RunProcessingFrame(frame);
}

}  // namespace mv
