// The filter menu's commands: each fills a FilterCommand with its dialog mode and caption and, where
// the pass is not the end, the step after it.

#include "filtercommands/FilterCommands.h"

#include "filtercommands/FilterFrame.h"
#include "filtercommands/FilterNameFile.h"
#include "filtering/BorderPadding.h"
#include "filtering/ColorFilters.h"
#include "filtering/NeighbourhoodPass.h"
#include "filtering/TwoDirectionEdges.h"
#include "filtering/UnsharpMask.h"
#include "optiondialog/FilterRecipes.h"
#include "optionlib/OptionLibrary.h"
#include "platform/Canvas.h"
#include "platform/ScopeGuard.h"
#include "shell/OptionDialogs.h"
#include "shell/ProcessingFrame.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr const char* kMenu = "P2";
// Softening ends without effect below this strength (the dialog offers -40 at the lowest).
constexpr int32_t kWeakestSoftening = -10000;

std::function<std::string(const OptionResult&)> Fixed(const char* caption) {
  return [caption](const OptionResult&) { return std::string(caption); };
}

}  // namespace

FilterCommands::FilterCommands(TForm1& form) : form(form) {
  RegisterMenu();
}

void FilterCommands::RegisterMenu() {
  form.menus.SetLayout(kMenu, {"F1", "D2", "A3", "N53", "V2", "G1", "S5", "S3", "N2V1", "E3", "L1", "N55"});
  form.menus.Add(kMainMenu, MakeMenu(kMenu, "フィルタ処理(&P)", [this] { P2Click(); }));
  const auto add = [this](const char* name, const char* caption, std::function<void()> handler) -> MenuItem& {
    MenuItem& item = form.menus.Add(kMenu, MakeMenuItem(name, caption, std::move(handler)));
    item.enabled = false;
    return item;
  };
  add("F1", "ソフト(&F)", [this] { F1Click(); });
  add("D2", "誤差拡散(&D)", [this] { D2Click(); });
  add("A3", "平均化(&A)", [this] { A3Click(); });
  add("N53", "メディアンフィルタ(&M)", [this] { N53Click(); }).hint = "ごま塩状のノイズを除去します";
  add("V2", "ぼかす(&B)", [this] { V2Click(); });
  add("G1", "ガウスぼかし(&G)", [this] { G1Click(); });
  add("S5", "シャープ(&S)", [this] { S5Click(); });
  add("S3", "アンシャープマスク(&U)", [this] { S3Click(); });
  add("N2V1", "輪郭強調(&E)", [this] { N2V1Click(); });
  add("E3", "エッジ検出(&H)", [this] { E3Click(); });
  add("L1", "線画(&L)", [this] { L1Click(); });
  add("N55", "カスタムフィルタ(&C)", [this] { N55Click(); });
}

void FilterCommands::P2Click() {
  const bool enabled = form.image.Exists() && !form.TransparencyModeOn();
  for (const auto& item : form.menus.Get(kMenu).children) item->enabled = enabled;
}

void FilterCommands::SimpleFilter(int mode, const char* caption, bool padBeforeDialog) {
  FilterCommand command;
  command.dialogMode = mode;
  command.padBeforeDialog = padBeforeDialog;
  command.caption = Fixed(caption);
  RunFilterCommand(form, command);
}

void FilterCommands::F1Click() {
  FilterCommand command;
  command.dialogMode = 5;
  command.caption = Fixed("ソフト");
  command.proceeds = [](const OptionResult& options) { return options.slider1 >= kWeakestSoftening; };
  RunFilterCommand(form, command);
}

void FilterCommands::D2Click() {
  FilterCommand command;
  command.dialogMode = 14;
  command.caption = [](const OptionResult& options) {
    return "誤差拡散" + std::to_string(int64_t{options.filterChoice} + 1);
  };
  RunFilterCommand(form, command);
}

void FilterCommands::A3Click() {
  SimpleFilter(6, "平均化");
}

void FilterCommands::N53Click() {
  SimpleFilter(9, "メディアンフィルタ");
}

void FilterCommands::V2Click() {
  SimpleFilter(100, "ぼかし", false);
}

void FilterCommands::G1Click() {
  SimpleFilter(16, "ガウスぼかし", false);
}

void FilterCommands::S5Click() {
  SimpleFilter(18, "シャープ");
}

void FilterCommands::EdgePass(int variant) {
  FilterCommand command;
  command.dialogMode = 10 + variant;
  command.caption = Fixed(variant == 0 ? "線画" : "輪郭強調");
  command.finish = [this, variant](Bitmap edges, const Bitmap& region, const OptionResult& options,
                                   const Rect&) {
    EdgeFinish finish;
    finish.variant = variant == 0 ? EdgeVariant::LineArt : EdgeVariant::EdgeEnhancement;
    finish.kernelNumber = EdgeKernelNumber(options.filterChoice);
    finish.coefficient = options.slider2 / 10.0;
    finish.arithmeticProgress = true;
    return FinishEdges(std::move(edges), region, finish, form.GetFeedback());
  };
  RunFilterCommand(form, command);
}

void FilterCommands::L1Click() {
  EdgePass(0);
}

void FilterCommands::N2V1Click() {
  EdgePass(1);
}

void FilterCommands::UnsharpRoutine(int variant) {
  const int mode = 100 + variant;
  const std::string caption = variant == 1 ? "アンシャープマスク" : "エッジ検出";
  std::optional<OptionResult> options;
  std::optional<FilterRecipe> recipe;
  std::optional<FetchedKernel> kernel;
  FrameCommand frame;
  frame.askParameters = [&](const Bitmap& copy) {
    options = AskOptions(form, copy, mode);
    if (!options->accepted) return false;
    recipe = FilterRecipeFor(mode, ChoicesOf(*options));
    kernel = FetchRecipeKernel(*recipe, form.programFolder, form.GetFeedback());
    return kernel.has_value();
  };
  frame.work = [&](Bitmap& copy, const Rect&) {
    UnsharpSteps steps;
    steps.variant = variant == 1 ? UnsharpVariant::UnsharpMask : UnsharpVariant::EdgeDetection;
    steps.coefficient = options->slider2 / 10.0;
    steps.caption = caption;
    steps.showProgress = form.settings.ShowProgress;
    steps.arithmeticProgress = true;
    return UnsharpMask(std::move(copy), *recipe, *kernel, steps, form.GetFeedback());
  };
  frame.recordWithoutResult = true;
  form.RunProcessingFrame(frame);
}

void FilterCommands::S3Click() {
  UnsharpRoutine(1);
}

void FilterCommands::E3Click() {
  UnsharpRoutine(2);
}

void FilterCommands::N55Click() {
  const std::string nameFile = form.ProgramFile(kFilterNameFileName);
  const ScopeExit removeNameFile([&] { RemoveFilterNameFile(nameFile); });
  form.WithOptionLibrary([&](OptionSession& library) {
    CustomFilterRecord record;
    library.ShowCustomFilter(record);
    if (!record.accepted) return;
    CustomPass(record.weights, record.offset, CustomFilterCaption(nameFile), record.preparation,
               record.copyMode, record.divisor);
  });
}

bool FilterCommands::CustomPass(const std::array<int32_t, 9>& weights, int32_t offset,
                                const std::string& caption, int32_t preparation, uint32_t copyMode,
                                double divisor) {
  FrameCommand frame;
  frame.work = [&](Bitmap& copy, const Rect&) -> std::optional<Bitmap> {
    std::optional<Bitmap> padded = PadBorder(copy, 1);
    if (!padded) return std::nullopt;
    PassSettings settings;
    settings.radius = 1;
    settings.caption = caption;
    settings.showProgress = form.settings.ShowProgress;
    const std::optional<Bitmap> result = RunNeighbourhoodPass(std::move(*padded), TCustomFilter(), weights,
                                                              divisor, offset, settings, form.GetFeedback());
    if (!result) return std::nullopt;
    // The rectangle as it will be drawn on: prepared (the outline with the canvas's black pen),
    // then the result through the raster operation. Nothing else of the picture is touched.
    Canvas canvas(copy);
    if (preparation == 1 || preparation == 2) {
      canvas.SetBrushColor(preparation == 1 ? colors::kWhite : colors::kBlack);
      canvas.Rectangle(0, 0, copy.Width(), copy.Height());
    }
    canvas.Draw(0, 0, *result, copyMode);
    return std::move(copy);
  };
  return form.RunProcessingFrame(frame);
}

}  // namespace mv
