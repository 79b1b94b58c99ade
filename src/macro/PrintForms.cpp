// The print forms of a macro and expect, which compares one of them with a text.

#include <sys/stat.h>

#include <cstdio>

#include "macro/MacroExit.h"
#include "macro/MacroRunner.h"

namespace mv {

namespace {

using Arguments = std::vector<std::string>;

std::string Flag(bool value) {
  return value ? "1" : "0";
}

// The text inside the quotes of a printed value: the inverse of Quote.
std::string Unquote(const std::string& quoted) {
  std::string text;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 2 < quoted.size()) {
      const char next = quoted[++i];
      text += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    } else {
      text += quoted[i];
    }
  }
  return text;
}

// Image points as "X,Y" with %.17g, separated by blanks.
std::string PointList(const FigurePoints& points) {
  std::string text;
  for (const TFigurePoint& p : points) {
    text += ' ';
    text += FormatG(p.X, 17);
    text += ',';
    text += FormatG(p.Y, 17);
  }
  return text;
}

}  // namespace

const std::vector<MacroRunner::PrintForm>& MacroRunner::PrintForms() {
  // One row per form; a later command adds its row.
  static const std::vector<PrintForm> forms = {
      {"message", 0, &MacroRunner::PrintMessage, true},
      {"caption", 0, &MacroRunner::PrintCaption, true},
      {"status", 1, &MacroRunner::PrintStatus, true},
      {"zoom", 0, &MacroRunner::PrintZoom, false},
      {"cache", 0, &MacroRunner::PrintCache, false},
      {"mode", 0, &MacroRunner::PrintMode, false},
      {"image", 0, &MacroRunner::PrintImage, false},
      {"pixel", 2, &MacroRunner::PrintPixel, false},
      {"menu", 1, &MacroRunner::PrintMenu, false},
      {"selection", 0, &MacroRunner::PrintSelection, false},
      {"format", 0, &MacroRunner::PrintFormat, false},
      {"scroll", 0, &MacroRunner::PrintScroll, false},
      {"figures", 0, &MacroRunner::PrintFigures, false},
      {"calibration", 0, &MacroRunner::PrintCalibration, false},
      {"log", 0, &MacroRunner::PrintLog, false},
      {"option", 0, &MacroRunner::PrintOption, false},
      {"progress", 0, &MacroRunner::PrintProgress, false},
      {"counts", 0, &MacroRunner::PrintCounts, false},
      {"filedialog", 0, &MacroRunner::PrintFileDialog, false},
      {"file", 1, &MacroRunner::PrintFile, false},
      {"index", 2, &MacroRunner::PrintIndex, false},
      {"window", 0, &MacroRunner::PrintWindow, false},
  };
  return forms;
}

const MacroRunner::PrintForm* MacroRunner::FindPrintForm(const std::string& name) {
  for (const PrintForm& form : PrintForms()) {
    if (name == form.name) return &form;
  }
  return nullptr;
}

std::vector<std::string> MacroRunner::PrintLines(const Arguments& what) {
  return (this->*FindPrintForm(what[0])->print)(Arguments(what.begin() + 1, what.end()));
}

std::vector<std::string> MacroRunner::PrintMessage(const Arguments&) {
  return {"message " + Quote(form_.controls.label1)};
}

std::vector<std::string> MacroRunner::PrintCaption(const Arguments&) {
  return {"caption " + Quote(form_.controls.caption)};
}

std::vector<std::string> MacroRunner::PrintStatus(const Arguments& arguments) {
  const auto panel = ParseMacroInteger(arguments[0]);
  if (!panel || *panel < 0 || *panel > 5) return {"status " + arguments[0] + " none"};
  return {"status " + arguments[0] + " " + Quote(form_.controls.sb1[static_cast<std::size_t>(*panel)].text)};
}

std::vector<std::string> MacroRunner::PrintZoom(const Arguments&) {
  const std::string entry = form_.CheckedZoomEntry();
  return {"zoom " + FormatG(static_cast<double>(form_.view.ZoomFactor), 17) + " " +
          (entry.empty() ? "none" : entry)};
}

std::vector<std::string> MacroRunner::PrintCache(const Arguments&) {
  return {"cache " + std::to_string(form_.history.UndoCache.size()) + " " +
          std::to_string(form_.history.UndoPosition)};
}

std::vector<std::string> MacroRunner::PrintMode(const Arguments&) {
  return {"mode " + std::to_string(form_.Tag)};
}

std::vector<std::string> MacroRunner::PrintImage(const Arguments&) {
  if (!form_.image.Exists()) return {"image none"};
  const Bitmap& picture = form_.image.Picture();
  return {"image " + std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + " " +
          std::to_string(picture.BitsPerPixel())};
}

std::vector<std::string> MacroRunner::PrintPixel(const Arguments& arguments) {
  const std::string prefix = "pixel " + arguments[0] + " " + arguments[1] + " ";
  const auto x = ParseMacroInteger(arguments[0]), y = ParseMacroInteger(arguments[1]);
  if (!form_.image.Exists() || !x || !y || *x < 0 || *y < 0 || *x >= form_.image.Width() ||
      *y >= form_.image.Height()) {
    return {prefix + "none"};
  }
  const ColorRef color = form_.image.Picture().ColorAt(static_cast<int>(*x), static_cast<int>(*y));
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
  return {prefix + hex};
}

std::vector<std::string> MacroRunner::PrintMenu(const Arguments& arguments) {
  const MenuItem* item = FindItem(arguments[0]);
  return {"menu " + arguments[0] + " enabled=" + Flag(item->enabled) + " checked=" + Flag(item->checked) +
          " visible=" + Flag(item->visible)};
}

std::vector<std::string> MacroRunner::PrintSelection(const Arguments&) {
  const SelectionState& s = form_.selection;
  return {"selection " + Flag(s.SelectionActive) + " " + std::to_string(s.SelectionStart.x) + " " +
          std::to_string(s.SelectionStart.y) + " " + std::to_string(s.SelectionEnd.x) + " " +
          std::to_string(s.SelectionEnd.y)};
}

std::vector<std::string> MacroRunner::PrintFormat(const Arguments&) {
  return {"format " + std::to_string(form_.image.LoadedFormat)};
}

std::vector<std::string> MacroRunner::PrintScroll(const Arguments&) {
  return {"scroll " + std::to_string(form_.view.scroll.x) + " " + std::to_string(form_.view.scroll.y)};
}

std::vector<std::string> MacroRunner::PrintFigures(const Arguments&) {
  const std::vector<TFigure>& figures = form_.measurements.Figures;
  std::vector<std::string> lines = {"figures " + std::to_string(figures.size())};
  for (std::size_t i = 0; i < figures.size(); ++i) {
    const ColorRef color = figures[i].Color;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
    lines.push_back("figure " + std::to_string(i) + " " + std::to_string(figures[i].Kind) + " " + hex +
                    PointList(figures[i].Points));
  }
  return lines;
}

std::vector<std::string> MacroRunner::PrintCalibration(const Arguments&) {
  const Measurements& measure = form_.measurements;
  return {"calibration " + std::to_string(measure.CalibrationPoints.size()) + " " +
          FormatG(measure.UnitScale, 17) + " " + Quote(measure.UnitName) +
          PointList(measure.CalibrationPoints)};
}

std::vector<std::string> MacroRunner::PrintLog(const Arguments&) {
  std::vector<std::string> lines;
  for (const auto& [name, queue] :
       {std::pair{"measure", &form_.logs.MeasureLog}, std::pair{"area", &form_.logs.AreaLog}}) {
    lines.push_back(std::string("log ") + name + " " + std::to_string(queue->size()));
    for (const std::string& pending : *queue) lines.push_back(Quote(pending));
  }
  return lines;
}

std::vector<std::string> MacroRunner::PrintOption(const Arguments&) {
  const std::optional<ShownOptionDialog>& shown = desktop_.LastOptionDialog();
  if (!shown) return {"option none"};
  return {"option " + std::to_string(shown->mode) + " " + Quote(shown->title) + " " +
          std::to_string(shown->thumbnail.width) + " " + std::to_string(shown->thumbnail.height) + " " +
          FormatG(shown->f, 17) + " " + std::to_string(shown->previewPoint.x) + " " +
          std::to_string(shown->previewPoint.y)};
}

std::vector<std::string> MacroRunner::PrintProgress(const Arguments&) {
  const std::optional<ShownProgress>& shown = desktop_.LastProgress();
  if (!shown) return {"progress none"};
  return {"progress " + Quote(shown->caption) + " " + std::to_string(shown->maximum) + " " +
          std::to_string(shown->position)};
}

std::vector<std::string> MacroRunner::PrintCounts(const Arguments&) {
  return {"counts " + std::to_string(form_.measurements.WhiteCount) + " " +
          std::to_string(form_.measurements.BlackCount)};
}

std::vector<std::string> MacroRunner::PrintFileDialog(const Arguments&) {
  const std::optional<FileDialogRequest>& request = desktop_.LastFileDialog();
  if (!request) return {"filedialog none"};
  const char* kind = request->kind == FileDialogKind::Open   ? "open"
                     : request->kind == FileDialogKind::Save ? "save"
                                                             : "log";
  return {std::string("filedialog ") + kind + " " + std::to_string(request->filterIndex) + " " +
          Quote(request->initialDir)};
}

std::vector<std::string> MacroRunner::PrintFile(const Arguments& arguments) {
  struct stat info {};
  const bool exists = ::stat(arguments[0].c_str(), &info) == 0 && S_ISREG(info.st_mode);
  return {"file " + arguments[0] + " " + (exists ? std::to_string(info.st_size) : std::string("none"))};
}

std::vector<std::string> MacroRunner::PrintIndex(const Arguments& arguments) {
  const std::string prefix = "index " + arguments[0] + " " + arguments[1] + " ";
  const auto x = ParseMacroInteger(arguments[0]), y = ParseMacroInteger(arguments[1]);
  if (!form_.image.Exists() || !IsIndexed(form_.image.Picture().Format()) || !x || !y || *x < 0 || *y < 0 ||
      *x >= form_.image.Width() || *y >= form_.image.Height()) {
    return {prefix + "none"};
  }
  return {prefix + std::to_string(form_.image.Picture().IndexAt(static_cast<int>(*x), static_cast<int>(*y)))};
}

std::vector<std::string> MacroRunner::PrintWindow(const Arguments&) {
  const std::optional<int> opacity = desktop_.WindowOpacity();
  return {"window opacity=" + (opacity ? std::to_string(*opacity) : std::string("none")) +
          " ontop=" + Flag(desktop_.AlwaysOnTop()) + " minimized=" + Flag(desktop_.Minimized())};
}

void MacroRunner::Print(const MacroLine& line) {
  for (const std::string& printed : PrintLines(Arguments(line.tokens.begin() + 1, line.tokens.end()))) {
    out_ << printed << '\n';
  }
}

void MacroRunner::Expect(const MacroLine& line) {
  const Arguments what(line.tokens.begin() + 1, line.tokens.end() - 1);
  const std::string& expected = line.tokens.back();
  std::string prefix;
  for (const std::string& word : what) prefix += word + " ";
  const std::string first = PrintLines(what).front();
  std::string actual = first.substr(std::min(prefix.size(), first.size()));
  if (FindPrintForm(what[0])->quotedValue) actual = Unquote(actual);
  if (actual == expected) return;
  out_ << "expect " << prefix << "failed: expected " << Quote(expected) << ", got " << Quote(actual) << '\n';
  throw MacroExit{kMacroExpectFailed};
}

}  // namespace mv
