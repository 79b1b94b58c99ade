// The colour menu's histogram submenu: option.so's histogram dialogs on the copy of the processing
// rectangle. The view changes nothing; the stretch and the range display run the range the dialog
// returns through the colour driver in the colour command frame. The library is loaded for the
// whole command and unloaded when it ends, on every path.

#include <memory>
#include <optional>
#include <string>

#include "colour/ColorFunctions.h"
#include "colourcommands/ColourCommands.h"
#include "optionlib/OptionLibrary.h"
#include "platform/ProgramFolder.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr const char* kHistogramMenu = "H2";

// Both histogram commands carry this name in the progress caption and the completion message.
constexpr const char* kStretchName = "輝度の伸縮";

// The stretch: Params lo, hi, the channel selector and the operation (0 stretch, 1 squeeze).
ColourCall StretchCall(const HistogramRecord& record) {
  return ColourCall{
      std::make_unique<TExpandShrinkRGB>(), {record.low, record.high, record.channel, record.fourth}, 1.0, 0};
}

// The range display: Params lo, hi; Mode the test (1 red, 2 green, 3 blue, else the mean); Value
// the fill (0 black, else white).
ColourCall RangeCall(const HistogramRecord& record) {
  return ColourCall{std::make_unique<TRGBRangeLimit>(),
                    {record.low, record.high},
                    static_cast<double>(record.fourth),
                    record.channel};
}

using HistogramDialog = HistogramRecord (OptionSession::*)(const Bitmap& image);

// A histogram dialog on the copy of the processing rectangle, its record made into the colour call
// in the colour command frame. A negative status (element 2) ends the command: -2 and -1 say why on
// the message line, any other value ends it silently.
void RecolourByHistogram(TForm1& form, ColourCommands& colour, HistogramDialog dialog,
                         ColourCall (*callFor)(const HistogramRecord&)) {
  form.WithOptionLibrary([&](OptionSession& library) {
    colour.Recolour(kStretchName, [&](const Bitmap& copy) -> std::optional<ColourCall> {
      const HistogramRecord record = (library.*dialog)(copy);
      if (record.channel == -2) {
        form.SetMessage(std::string(kOptionLibraryFile) + "内のヒストグラムウィンドウ表示でエラー発生");
      } else if (record.channel == -1) {
        form.SetMessage("キャンセルしました");
      }
      if (record.channel < 0) return std::nullopt;
      return callFor(record);
    });
  });
}

}  // namespace

void ColourCommands::RegisterHistogramMenu() {
  form.menus.SetLayout(kHistogramMenu, {"N56", "E2", "W4"});
  // The submenu is offered by the colour menu's enabler, like the colour commands.
  form.menus.Add("N35", MakeMenu(kHistogramMenu, "ヒストグラム(&H)")).enabled = false;
  form.menus.Add(kHistogramMenu, MakeMenuItem("N56", "表示(&D)", [this] { N56Click(); }));
  form.menus.Add(kHistogramMenu, MakeMenuItem("E2", "輝度の伸縮(&E)", [this] { E2Click(); }));
  form.menus.Add(kHistogramMenu, MakeMenuItem("W4", "指定範囲の画素を表示(&W)", [this] { W4Click(); }));
}

void ColourCommands::N56Click() {
  form.WithOptionLibrary([this](OptionSession& library) {
    std::optional<Bitmap> copy = form.CopyRegion(form.GetProcessingRect());
    if (!copy) return;
    library.ShowHistgram(*copy);
    form.KeepForRecording(std::move(*copy));  // its memory serves the next command
  });
}

void ColourCommands::E2Click() {
  RecolourByHistogram(form, *this, &OptionSession::GetHistgramHiLow, StretchCall);
}

void ColourCommands::W4Click() {
  RecolourByHistogram(form, *this, &OptionSession::GetHistgramRange, RangeCall);
}

}  // namespace mv
