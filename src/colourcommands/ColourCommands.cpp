// The colour menu's commands: each picks its pixel operation and dialog and runs the colour driver
// over the processing rectangle in the processing frame.

#include "colourcommands/ColourCommands.h"

#include <algorithm>
#include <memory>

#include "colour/ApplyColorFunction.h"
#include "colour/ColorFunctions.h"
#include "shell/OptionDialogs.h"
#include "shell/ProcessingFrame.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr const char* kMenu = "N35";

// A call without a dialog: the operation, Params three zeros, Value 1.0, Mode 0.
template <typename Operation>
ColourCommands::Ask Plain() {
  return [](const Bitmap&) -> std::optional<ColourCall> {
    return ColourCall{std::make_unique<Operation>(), {0, 0, 0}, 1.0, 0};
  };
}

int32_t WhitePixels(const Bitmap& bitmap) {
  int32_t count = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* pixel = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x, pixel += 3) {
      if (pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255) ++count;
    }
  }
  return count;
}

}  // namespace

ColourCommands::ColourCommands(TForm1& form) : form(form) {
  RegisterMenu();
}

void ColourCommands::RegisterMenu() {
  form.menus.SetLayout(kMenu,
                       {"N48", "N47", "C1", "RGB1", "N44", "N211", "R2", "RGBE1", "S4", "P3", "XORX1", "H2"});
  form.menus.Add(kMainMenu, MakeMenu(kMenu, "色彩変更(&C)", [this] { N35Click(); }));
  const auto add = [this](const char* name, const char* caption, std::function<void()> handler) {
    form.menus.Add(kMenu, MakeMenuItem(name, caption, std::move(handler))).enabled = false;
  };
  add("N48", "明るさの調整(&L)", [this] { N48Click(); });
  add("N47", "ガンマ補正(&A)", [this] { N47Click(); });
  add("C1", "コントラストの調整(&C)", [this] { C1Click(); });
  add("RGB1", "RGBの個別調整(&B)", [this] { RGB1Click(); });
  add("N44", "グレースケール(&G)", [this] { N44Click(); });
  add("N211", "2値化(&2)", [this] { N211Click(); });
  add("R2", "反転(&R)", [this] { R2Click(); });
  add("RGBE1", "RGB交換(&E)", [this] { RGBE1Click(); });
  add("S4", "ソラリゼーション(&S)", [this] { S4Click(); });
  add("P3", "ポスタリゼーション(&P)", [this] { P3Click(); });
  add("XORX1", "XOR変換(&X)", [this] { XORX1Click(); });
  RegisterHistogramMenu();
}

void ColourCommands::N35Click() {
  const bool enabled = form.image.Exists() && !form.TransparencyModeOn();
  // Every item, the histogram submenu and whatever else the menu holds.
  for (const auto& item : form.menus.Get(kMenu).children) item->enabled = enabled;
}

void ColourCommands::Recolour(const std::string& name, const Ask& ask,
                              const std::function<void(const Bitmap&, const Rect&)>& completed) {
  std::optional<ColourCall> call;
  FrameCommand command;
  command.askParameters = [&](const Bitmap& copy) {
    call = ask(copy);
    return call.has_value();
  };
  command.work = [&](Bitmap& copy, const Rect& rect) -> std::optional<Bitmap> {
    if (!ApplyColorFunction(copy, *call->func, name, form.settings.ShowProgress, call->mode, call->params,
                            call->value, form.GetFeedback())) {
      return std::nullopt;
    }
    if (completed) completed(copy, rect);
    return std::move(copy);
  };
  command.recordWithoutResult = true;
  form.RunProcessingFrame(command);
}

void ColourCommands::RecolourWithDialog(int mode, const std::string& name,
                                        const std::function<void(const Bitmap&, const Rect&)>& completed) {
  Recolour(
      name,
      [this, mode](const Bitmap& copy) -> std::optional<ColourCall> {
        const OptionResult result = AskOptions(form, copy, mode);
        if (!result.accepted) return std::nullopt;
        DialogChoices choices;
        choices.slider1 = result.slider1;
        choices.slider2 = result.slider2;
        choices.radio1 = result.filterChoice;
        choices.radio2 = result.evaluationChoice;
        return ColourCallFor(mode, choices);
      },
      completed);
}

void ColourCommands::N48Click() {
  RecolourWithDialog(4, "明るさの調整");
}

void ColourCommands::N47Click() {
  RecolourWithDialog(2, "ガンマ補正");
}

void ColourCommands::C1Click() {
  RecolourWithDialog(3, "コントラスト調整");
}

void ColourCommands::RGB1Click() {
  Recolour("RGBの調整", [this](const Bitmap& copy) -> std::optional<ColourCall> {
    const std::optional<std::array<int32_t, 3>> offsets = AskRgbOffsets(form, copy);
    // All three at 0: nothing runs and nothing is recorded.
    if (!offsets || std::all_of(offsets->begin(), offsets->end(), [](int32_t o) { return o == 0; })) {
      return std::nullopt;
    }
    return ColourCall{
        std::make_unique<TRGBEachOffset>(), {(*offsets)[0], (*offsets)[1], (*offsets)[2]}, 1.0, 0};
  });
}

void ColourCommands::N44Click() {
  Recolour("グレースケール", Plain<TGrayScale>());
}

void ColourCommands::N211Click() {
  RecolourWithDialog(8, "2値化", [this](const Bitmap& result, const Rect& rect) {
    form.measurements.WhiteCount = WhitePixels(result);
    form.measurements.BlackCount = rect.Width() * rect.Height() - form.measurements.WhiteCount;
  });
}

void ColourCommands::R2Click() {
  Recolour("反転", Plain<TColorInverse>());
}

void ColourCommands::RGBE1Click() {
  Recolour("RGB交換", Plain<TRGBExchange>());
}

void ColourCommands::S4Click() {
  RecolourWithDialog(15, "ソラリゼーション");
}

void ColourCommands::P3Click() {
  RecolourWithDialog(13, "ポスタリゼーション");
}

void ColourCommands::XORX1Click() {
  RecolourWithDialog(17, "XOR変換");
}

}  // namespace mv
