// The special-effects menu's commands and the wave request.

#include "effects/EffectCommands.h"

#include <array>

#include "colour/ApplyColorFunction.h"
#include "colour/ColorFunctions.h"
#include "filtercommands/FilterFrame.h"
#include "filtering/ColorFilters.h"
#include "filtering/MosaicBlocks.h"
#include "platform/Numbers.h"
#include "platform/ScopeGuard.h"
#include "shell/OptionDialogs.h"
#include "shell/ProcessingFrame.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr const char* kMenu = "T1";
const TCustomFilter kCustom;

std::function<std::string(const OptionResult&)> Fixed(const char* caption) {
  return [caption](const OptionResult&) { return std::string(caption); };
}

}  // namespace

EffectCommands::EffectCommands(TForm1& form) : form(form) {
  RegisterMenu();
  form.mouseDownHandlers.push_back([this](const MouseEvent& event) { WaveMouseDown(event); });
  form.afterEventHandlers.push_back([this] { NoticeAbandonedRequest(); });
}

void EffectCommands::RegisterMenu() {
  form.menus.SetLayout(kMenu, {"E1", "W2", "BlurB1", "W5", "N59", "W6", "N60"});
  form.menus.Add(kMainMenu, MakeMenu(kMenu, "特殊効果(&T)", [this] { T1Click(); }));
  const auto add = [this](const char* name, const char* caption, std::function<void()> handler) -> MenuItem& {
    MenuItem& item = form.menus.Add(kMenu, MakeMenuItem(name, caption, std::move(handler)));
    item.enabled = false;
    return item;
  };
  add("E1", "エンボス(&E)", [this] { E1Click(); });
  add("W2", "色鉛筆(&P)", [this] { W2Click(); }).visible = false;  // hidden at creation, never shown
  add("BlurB1", "ブレ（Blur）(&B)", [this] { BlurB1Click(); });
  add("W5", "風(&W)", [this] { W5Click(); });
  add("N59", "モザイク(&M)", [this] { N59Click(); });
  add("W6", "波動(&W)", [this] { W6Click(); });
  add("N60", "怪しい波動(&S)", [this] { N60Click(); });
}

void EffectCommands::T1Click() {
  const bool enabled = form.image.Exists() && !form.TransparencyModeOn();
  for (const auto& item : form.menus.Get(kMenu).children) item->enabled = enabled;
}

void EffectCommands::E1Click() {
  FilterCommand command;
  command.dialogMode = 7;
  command.caption = Fixed("エンボス");
  command.finish = [](Bitmap filtered, const Bitmap&, const OptionResult& options, const Rect&) {
    const ColorRef base = options.colour == -1 ? colors::kBlack : static_cast<ColorRef>(options.colour);
    return std::optional<Bitmap>(EmbossOverBaseColour(filtered, base));
  };
  // Without a filtered picture the base colour would erase the rectangle with nothing drawn over it.
  command.recordWithoutResult = false;
  RunFilterCommand(form, command);
}

void EffectCommands::W2Click() {
  FilterCommand command;
  command.dialogMode = 10;
  command.caption = Fixed("色鉛筆");
  // A 3 x 3 box brightened by 9 / 8: slider 1, hidden in mode 10, keeps its position 9. The
  // dialog's filter and evaluation choices are not read.
  command.recipe = [](const OptionResult& options) {
    FilterRecipe recipe;  // kernel 1, the 3 x 3 box
    recipe.filter = &kCustom;
    recipe.divisor = [s = options.slider1](int32_t) { return s - 1.0; };
    return recipe;
  };
  command.finish = [](Bitmap filtered, const Bitmap& region, const OptionResult&, const Rect& rect) {
    return std::optional<Bitmap>(PencilOverRegion(filtered, region, rect));
  };
  RunFilterCommand(form, command);
}

void EffectCommands::BlurB1Click() {
  FilterCommand command;
  command.dialogMode = 200;
  command.padBeforeDialog = false;
  command.caption = Fixed("ブレ");
  RunFilterCommand(form, command);
}

void EffectCommands::W5Click() {
  FilterCommand command;
  command.dialogMode = 210;
  command.padBeforeDialog = false;
  command.caption = Fixed("風");
  RunFilterCommand(form, command);
}

void EffectCommands::N59Click() {
  int32_t blockSize = 0;
  FrameCommand frame;
  frame.askParameters = [&](const Bitmap& copy) {
    const OptionResult options = AskOptions(form, copy, 20);
    blockSize = options.slider1;
    return options.accepted;
  };
  frame.work = [&](Bitmap& copy, const Rect&) {
    BlockSettings settings;
    settings.blockSize = blockSize;
    settings.name = "モザイク";
    settings.showProgress = form.settings.ShowProgress;
    return MosaicBlocks(std::move(copy), TMozaicFilter(), settings, form.GetFeedback());
  };
  frame.recordWithoutResult = true;
  form.RunProcessingFrame(frame);
}

void EffectCommands::W6Click() {
  RequestWaveCentre(kWaveCentre);
}

void EffectCommands::N60Click() {
  RequestWaveCentre(kStrangeWaveCentre);
}

void EffectCommands::RequestWaveCentre(int32_t toolMode) {
  form.Tag = toolMode;
  form.SetMessage("波の中心をクリックして指定してください");
  form.desktop.SetImageAreaCursor(Cursor::Cross);
  form.EnableImageCommands(false);
  pendingWave_ = toolMode;
}

void EffectCommands::WaveMouseDown(const MouseEvent& event) {
  if (event.button != MouseButton::Left) return;
  if (event.toolMode != kWaveCentre && event.toolMode != kStrangeWaveCentre) return;
  const Point at = form.ClampToImageArea(event.x, event.y);
  ApplyWave(at.x, at.y);
}

void EffectCommands::ApplyWave(int x, int y) {
  const int32_t toolMode = form.Tag;
  form.Tag = kSelectionMode;
  pendingWave_ = 0;
  form.desktop.SetImageAreaCursor(Cursor::Default);
  const ScopeExit giveBack([this] { form.EnableImageCommands(true); });
  const bool strange = toolMode == kStrangeWaveCentre;
  const Rect rect = form.GetProcessingRect();
  const Point centre{CheckedInt32(TruncTowardZero(x / form.view.ZoomFactor) - rect.left),
                     CheckedInt32(TruncTowardZero(y / form.view.ZoomFactor) - rect.top)};
  OptionResult options;
  FrameCommand frame;
  frame.askParameters = [&](const Bitmap& copy) {
    options = AskOptions(form, copy, strange ? 22 : 21, centre);
    return options.accepted;
  };
  frame.work = [&](Bitmap& copy, const Rect&) -> std::optional<Bitmap> {
    const std::array<int32_t, 4> params{centre.x, centre.y, options.slider1, options.slider2};
    if (!ApplyColorFunction(copy, TSinTrans(), "波動", form.settings.ShowProgress, strange ? 1 : 0, params,
                            1.0, form.GetFeedback())) {
      return std::nullopt;
    }
    return std::move(copy);
  };
  frame.recordWithoutResult = true;
  form.RunProcessingFrame(frame);
}

void EffectCommands::NoticeAbandonedRequest() {
  if (pendingWave_ == 0 || form.Tag == pendingWave_) return;
  pendingWave_ = 0;
  form.EnableImageCommands(true);
}

}  // namespace mv
