#include "macro/MacroRunner.h"

#include <climits>
#include <cstdio>
#include <iostream>
#include <optional>

#include "app/Subsystems.h"
#include "codecs/BmpImage.h"
#include "codecs/CodecError.h"
#include "codecs/ImageFile.h"
#include "codecs/PngImage.h"
#include "macro/MacroExit.h"
#include "macro/ScriptedOptionLibrary.h"

namespace mv {

namespace {

using Arguments = std::vector<std::string>;

// The largest side of the image area a run may ask for: what a screen can be, no more (its surface
// is drawn in full, three bytes a pixel).
constexpr long long kLargestImageArea = 16384;

std::string NeedsIntegers(const Arguments& arguments, std::size_t count) {
  for (std::size_t i = 0; i < count && i < arguments.size(); ++i) {
    if (!ParseMacroInteger(arguments[i])) return "not an integer: " + arguments[i];
  }
  return "";
}

std::string CheckMouse(const Arguments& arguments) {
  const std::string integers = NeedsIntegers(arguments, 2);
  if (!integers.empty()) return integers;
  if (arguments.size() == 3 && arguments[2] != "left" && arguments[2] != "middle" &&
      arguments[2] != "right") {
    return "button must be left, middle or right";
  }
  return "";
}

std::string CheckWheel(const Arguments& arguments) {
  if (arguments[0] != "up" && arguments[0] != "down") return "wheel needs up or down";
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i] != "shift" && arguments[i] != "ctrl") return "wheel modifiers are shift and ctrl";
  }
  return "";
}

std::string CheckRange(const std::string& token, long long low, long long high) {
  const auto value = ParseMacroInteger(token);
  if (!value || *value < low || *value > high) {
    return token + " is not a whole number from " + std::to_string(low) + " to " + std::to_string(high);
  }
  return "";
}

std::string CheckHexColour(const std::string& token) {
  if (token.size() != 6 || token.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return "colour must be RRGGBB: " + token;
  }
  return "";
}

std::string CheckAnswer(const Arguments& arguments) {
  const std::string& kind = arguments[0];
  const Arguments values(arguments.begin() + 1, arguments.end());
  if (kind == "box") {
    if (values.size() == 1 &&
        (values[0] == "OK" || values[0] == "Cancel" || values[0] == "Yes" || values[0] == "No")) {
      return "";
    }
    return "answer box takes OK, Cancel, Yes or No";
  }
  if (kind == "file") return values.size() == 1 ? "" : "answer file takes a path or cancel";
  if (kind == "colour") {
    if (values.size() != 1) return "answer colour takes RRGGBB or cancel";
    return values[0] == "cancel" ? "" : CheckHexColour(values[0]);
  }
  if (kind == "rgb") {
    if (values.size() != 4 || (values[0] != "ok" && values[0] != "cancel"))
      return "answer rgb takes ok|cancel R G B";
    for (std::size_t i = 1; i < 4; ++i) {
      const std::string range = CheckRange(values[i], -255, 255);
      if (!range.empty()) return range;
    }
    return "";
  }
  if (kind == "option") {
    if (values.empty() || (values[0] != "ok" && values[0] != "cancel"))
      return "answer option takes ok or cancel";
    for (std::size_t i = 1; i < values.size(); ++i) {
      const std::size_t equals = values[i].find('=');
      const std::string field = values[i].substr(0, equals);
      if (equals == std::string::npos) return "option fields are NAME=VALUE: " + values[i];
      const std::string value = values[i].substr(equals + 1);
      if (field == "slider1" || field == "slider2" || field == "radio1" || field == "radio2") {
        if (!ParseMacroInteger(value)) return "not an integer: " + value;
      } else if (field == "colour") {
        if (value != "none" && !CheckHexColour(value).empty()) return CheckHexColour(value);
      } else if (field == "time") {
        if (value != "0" && value != "1") return "time is 0 or 1";
      } else if (field != "gamma") {
        return "unknown option field " + field;
      }
    }
    return "";
  }
  if (kind == "lib") return ScriptedOptionLibrary::CheckAnswer(values);
  return "unknown answer kind " + kind;
}

// "foreground X Y W H" or "foreground none".
std::string CheckForeground(const Arguments& arguments) {
  if (arguments.size() == 1) return arguments[0] == "none" ? "" : "foreground takes X Y W H or none";
  if (arguments.size() != 4) return "foreground takes X Y W H or none";
  const std::string position = NeedsIntegers(arguments, 2);
  if (!position.empty()) return position;
  const std::string width = CheckRange(arguments[2], 0, INT32_MAX);
  return width.empty() ? CheckRange(arguments[3], 0, INT32_MAX) : width;
}

// "yyyy/mm/dd" and "h:mm:ss" as a fixed local time.
std::optional<LocalTime> ParseClock(const std::string& date, const std::string& time) {
  LocalTime t;
  char end = 0;
  if (std::sscanf(date.c_str(), "%d/%d/%d%c", &t.year, &t.month, &t.day, &end) != 3 ||
      std::sscanf(time.c_str(), "%d:%d:%d%c", &t.hour, &t.minute, &t.second, &end) != 3) {
    return std::nullopt;
  }
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
      t.minute > 59 || t.second < 0 || t.second > 60) {
    return std::nullopt;
  }
  return t;
}

MouseButton ButtonOf(const Arguments& tokens, std::size_t index) {
  if (tokens.size() <= index || tokens[index] == "left") return MouseButton::Left;
  return tokens[index] == "middle" ? MouseButton::Middle : MouseButton::Right;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = text[text.size() - suffix.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

// Runtime trouble that is no syntax error (a file that cannot be written): reported, the run goes on.
void Warn(const MacroLine& line, const std::string& what) {
  std::cerr << "line " << line.number << ": " << what << '\n';
}

}  // namespace

const std::vector<MacroRunner::Action>& MacroRunner::Actions() {
  static const std::vector<Action> actions = {
      {"open", 1, 1, {}, &MacroRunner::Open},
      {"menu", 1, 1, {}, &MacroRunner::Menu},
      {"popup", 1, 1, {}, &MacroRunner::Popup},
      {"button", 1, 1, {}, &MacroRunner::Button},
      {"key", 1, 1,
       [](const Arguments& a) { return NormalizeShortcut(a[0]).empty() ? "unreadable key " + a[0] : ""; },
       &MacroRunner::Key},
      {"press", 2, 3, CheckMouse, &MacroRunner::Press},
      {"release", 2, 3, CheckMouse, &MacroRunner::Release},
      {"move", 2, 2, CheckMouse, &MacroRunner::Move},
      {"click", 2, 3, CheckMouse, &MacroRunner::Click},
      {"wheel", 1, 3, CheckWheel, &MacroRunner::Wheel},
      {"status", 1, 1, [](const Arguments& a) { return CheckRange(a[0], 0, 5); }, &MacroRunner::Status},
      {"depth", 1, 1,
       [](const Arguments& a) { return a[0] == "24" || a[0] == "8" ? "" : "depth is 24 or 8"; },
       &MacroRunner::Depth},
      {"resize", 2, 2,
       [](const Arguments& a) {
         const std::string width = CheckRange(a[0], 1, kLargestImageArea);
         return width.empty() ? CheckRange(a[1], 1, kLargestImageArea) : width;
       },
       &MacroRunner::Resize},
      {"drop", 1, SIZE_MAX, {}, &MacroRunner::Drop},
      {"clipboard", 1, 1, {}, &MacroRunner::Clipboard},
      {"tick", 0, 0, {}, &MacroRunner::Tick},
      {"cancel-progress", 1, 2,
       [](const Arguments& a) {
         const std::string row = CheckRange(a[0], 0, INT_MAX);
         return row.empty() && a.size() > 1 ? CheckRange(a[1], 1, INT_MAX) : row;
       },
       &MacroRunner::CancelProgress},
      {"close", 0, 0, {}, &MacroRunner::CloseWindow},
      {"answer", 1, SIZE_MAX, CheckAnswer, &MacroRunner::AnswerLine},
      {"print", 1, SIZE_MAX, {}, &MacroRunner::Print},
      {"expect", 2, SIZE_MAX, {}, &MacroRunner::Expect},
      {"save-image", 1, 1, {}, &MacroRunner::SaveImage},
      {"save-view", 1, 1, {}, &MacroRunner::SaveView},
      {"screen", 1, 1, {}, &MacroRunner::Screen},
      {"foreground", 1, 4, CheckForeground, &MacroRunner::Foreground},
      {"clock", 2, 2,
       [](const Arguments& a) { return ParseClock(a[0], a[1]) ? "" : "clock takes yyyy/mm/dd h:mm:ss"; },
       &MacroRunner::Clock},
  };
  return actions;
}

const MacroRunner::Action* MacroRunner::FindAction(const std::string& name) {
  for (const Action& action : Actions()) {
    if (name == action.name) return &action;
  }
  return nullptr;
}

MacroRunner::MacroRunner(std::ostream& out, std::string programFolder)
    : out_(out),
      programFolder_(programFolder),
      desktop_(out, programFolder),
      form_(desktop_, programFolder, AllSubsystems()) {
  desktop_.AttachControls(form_.controls);
}

void MacroRunner::CheckSyntax(const std::vector<MacroLine>& script) const {
  for (const MacroLine& line : script) {
    const Action* action = FindAction(line.tokens[0]);
    if (action == nullptr) throw MacroSyntaxError(line.number, "unknown action " + line.tokens[0]);
    const Arguments arguments(line.tokens.begin() + 1, line.tokens.end());
    if (arguments.size() < action->minArguments || arguments.size() > action->maxArguments) {
      throw MacroSyntaxError(line.number, std::string("wrong number of arguments for ") + action->name);
    }
    if (action->check) {
      const std::string problem = action->check(arguments);
      if (!problem.empty()) throw MacroSyntaxError(line.number, problem);
    }
    if (line.tokens[0] == "print" || line.tokens[0] == "expect") {
      const Arguments what(line.tokens.begin() + 1, line.tokens.end() - (line.tokens[0] == "expect" ? 1 : 0));
      const PrintForm* form = what.empty() ? nullptr : FindPrintForm(what[0]);
      if (form == nullptr) throw MacroSyntaxError(line.number, "unknown print form");
      if (what.size() != form->arguments + 1)
        throw MacroSyntaxError(line.number, "wrong arguments for print " + what[0]);
    }
  }
}

std::string MacroRunner::CheckName(const std::vector<std::string>& tokens) {
  const std::string& action = tokens[0];
  if (action == "menu" || (action == "print" && tokens[1] == "menu") ||
      (action == "expect" && tokens[1] == "menu")) {
    const std::string& item = action == "menu" ? tokens[1] : tokens[2];
    return FindItem(item) == nullptr ? "unknown menu item " + item : "";
  }
  if (action == "popup") {
    MenuItem* item = FindItem(tokens[1]);
    MenuItem* root = item;
    while (root != nullptr && root->parent != nullptr) root = root->parent;
    return root == nullptr || root->name != kImagePopupMenu ? "no context menu item " + tokens[1] : "";
  }
  if (action == "button") {
    const bool known = form_.controls.FindButton(tokens[1]) != nullptr ||
                       form_.controls.FindColorPanel(tokens[1]) != nullptr;
    return known ? "" : "unknown button " + tokens[1];
  }
  if (action == "depth") {
    const char* item = tokens[1] == "24" ? "N24bit1" : "N8bit1";
    return form_.menus.Find(item) == nullptr ? std::string("no colour-depth item ") + item : "";
  }
  return "";
}

void MacroRunner::CheckNames(const std::vector<MacroLine>& script) {
  for (const MacroLine& line : script) {
    const std::string problem = CheckName(line.tokens);
    if (!problem.empty()) throw MacroSyntaxError(line.number, problem);
  }
}

int MacroRunner::Run(const std::vector<MacroLine>& script, const std::vector<std::string>& imageArguments) {
  try {
    CheckSyntax(script);
    form_.Create();
    CheckNames(script);
  } catch (const MacroSyntaxError& error) {
    std::cerr << error.what() << '\n';
    return kMacroSyntaxError;
  }
  try {
    form_.Show(imageArguments);
    form_.TimerFired();
    for (const MacroLine& line : script) {
      RunLine(line);
      if (form_.IsClosed()) break;
    }
  } catch (const MacroExit& exit) {
    out_.flush();
    return exit.status;
  }
  out_.flush();
  return kMacroFinished;
}

void MacroRunner::RunLine(const MacroLine& line) {
  const std::string messageBefore = form_.controls.label1;
  const bool sideBarBefore = form_.controls.pn2Visible;
  (this->*FindAction(line.tokens[0])->run)(line);
  // Showing or hiding the side bar changes the window's client area, as a resize does.
  if (form_.controls.pn2Visible != sideBarBefore && !form_.IsClosed()) form_.WindowResized();
  if (form_.controls.label1 != messageBefore) out_ << "message " << Quote(form_.controls.label1) << '\n';
}

MenuItem* MacroRunner::FindItem(const std::string& nameOrCaption) {
  if (MenuItem* item = form_.menus.Find(nameOrCaption)) {
    if (item->parent != nullptr) return item;
  }
  return form_.menus.FindByCaption(nameOrCaption);
}

void MacroRunner::ChooseItem(MenuItem& item) {
  std::vector<MenuItem*> path;
  for (MenuItem* menu = item.parent; menu != nullptr; menu = menu->parent) path.insert(path.begin(), menu);
  for (MenuItem* menu : path) {
    // A menu that is disabled or hidden cannot be opened.
    if (menu->parent != nullptr && (!menu->enabled || !menu->visible)) return;
    form_.MenuOpening(menu->name);
  }
  // A menu chosen by itself is opened, which runs its opening handler.
  if (!item.onClick && item.onPopup) {
    if (item.enabled && item.visible) form_.MenuOpening(item.name);
    return;
  }
  // A hidden item (colour pencil) cannot be chosen on the screen, but a macro clicks it as the
  // program itself could.
  if (!item.visible) {
    form_.Run([&] { form_.menus.Click(item); });
    return;
  }
  form_.MenuChosen(item.name);
}

void MacroRunner::Open(const MacroLine& line) {
  desktop_.SetNextOpenAnswer(line.tokens[1]);
  ChooseItem(form_.menus.Get("N2"));
  desktop_.SetNextOpenAnswer(std::nullopt);
}

void MacroRunner::Menu(const MacroLine& line) {
  ChooseItem(*FindItem(line.tokens[1]));
}

void MacroRunner::Popup(const MacroLine& line) {
  ChooseItem(*FindItem(line.tokens[1]));
}

void MacroRunner::Button(const MacroLine& line) {
  form_.ButtonClicked(line.tokens[1]);
}

void MacroRunner::Key(const MacroLine& line) {
  form_.KeyPressed(line.tokens[1]);
}

MouseEvent MacroRunner::MouseAt(const MacroLine& line) {
  MouseEvent event;
  event.x = static_cast<int>(*ParseMacroInteger(line.tokens[1]));
  event.y = static_cast<int>(*ParseMacroInteger(line.tokens[2]));
  event.button = ButtonOf(line.tokens, 3);
  desktop_.SetPointer({event.x, event.y});
  return event;
}

void MacroRunner::Press(const MacroLine& line) {
  form_.ImageMouseDown(MouseAt(line));
}

void MacroRunner::Release(const MacroLine& line) {
  form_.ImageMouseUp(MouseAt(line));
}

void MacroRunner::Move(const MacroLine& line) {
  form_.ImageMouseMove(MouseAt(line));
}

void MacroRunner::Click(const MacroLine& line) {
  const MouseEvent event = MouseAt(line);
  form_.ImageMouseDown(event);
  form_.ImageMouseUp(event);
}

void MacroRunner::Wheel(const MacroLine& line) {
  ShiftState shift;
  for (std::size_t i = 2; i < line.tokens.size(); ++i) {
    if (line.tokens[i] == "shift") shift.shift = true;
    if (line.tokens[i] == "ctrl") shift.ctrl = true;
  }
  // The pointer stays where it is on the screen while the picture moves under it.
  const Point scrollBefore = form_.view.scroll, pointer = desktop_.PointerPosition();
  form_.WheelTurned(line.tokens[1] == "down", shift);
  desktop_.SetPointer(
      {pointer.x + form_.view.scroll.x - scrollBefore.x, pointer.y + form_.view.scroll.y - scrollBefore.y});
}

int MacroRunner::StatusPanelX(int panel) const {
  int x = 0;
  for (int i = 0; i < panel; ++i) x += form_.controls.sb1[static_cast<std::size_t>(i)].width;
  return x + form_.controls.sb1[static_cast<std::size_t>(panel)].width / 2;
}

void MacroRunner::Status(const MacroLine& line) {
  form_.StatusBarPressed(StatusPanelX(static_cast<int>(*ParseMacroInteger(line.tokens[1]))),
                         MouseButton::Left);
}

void MacroRunner::Depth(const MacroLine& line) {
  form_.StatusBarPressed(StatusPanelX(4), MouseButton::Left);
  form_.MenuChosen(line.tokens[1] == "24" ? "N24bit1" : "N8bit1");
}

void MacroRunner::Resize(const MacroLine& line) {
  desktop_.SetImageAreaSize({static_cast<int32_t>(*ParseMacroInteger(line.tokens[1])),
                             static_cast<int32_t>(*ParseMacroInteger(line.tokens[2]))});
  form_.WindowResized();
}

void MacroRunner::Drop(const MacroLine& line) {
  form_.FilesDropped(Arguments(line.tokens.begin() + 1, line.tokens.end()));
}

void MacroRunner::Clipboard(const MacroLine& line) {
  if (line.tokens[1] == "empty") {
    desktop_.SetClipboard(std::nullopt);
    return;
  }
  std::optional<DecodedImage> decoded;
  try {
    decoded = ReadImageFile(line.tokens[1]);
  } catch (const std::bad_alloc&) {
  }
  if (!decoded) Warn(line, "cannot read " + line.tokens[1] + "; the clipboard is empty");
  desktop_.SetClipboard(decoded ? std::optional<Bitmap>(std::move(decoded->bitmap)) : std::nullopt);
}

void MacroRunner::Tick(const MacroLine&) {
  form_.TimerFired();
}

void MacroRunner::CancelProgress(const MacroLine& line) {
  const int dialog = line.tokens.size() > 2 ? static_cast<int>(*ParseMacroInteger(line.tokens[2])) : 1;
  desktop_.CancelNextProgressAt(static_cast<int>(*ParseMacroInteger(line.tokens[1])), dialog);
}

void MacroRunner::CloseWindow(const MacroLine&) {
  form_.CloseRequested();
}

void MacroRunner::AnswerLine(const MacroLine& line) {
  desktop_.Answers().Push(Answer{line.tokens[1], Arguments(line.tokens.begin() + 2, line.tokens.end())});
}

void MacroRunner::SaveImage(const MacroLine& line) {
  if (!form_.image.Exists()) {
    Warn(line, "no image to save");
    return;
  }
  const std::string& path = line.tokens[1];
  try {
    const Bitmap pixels = form_.image.Picture().ToBgr24();
    if (EndsWithIgnoringCase(path, ".png")) {
      PngWriteOptions options;
      options.writeTime = false;
      WritePngFile(path, pixels, options);
    } else {
      WriteBmpFile(path, pixels);
    }
  } catch (const CodecError& error) {
    Warn(line, error.what());
  }
}

void MacroRunner::SaveView(const MacroLine& line) {
  try {
    PngWriteOptions options;
    options.writeTime = false;
    WritePngFile(line.tokens[1], form_.Surface(), options);
  } catch (const CodecError& error) {
    Warn(line, error.what());
  }
}

void MacroRunner::Screen(const MacroLine& line) {
  std::optional<DecodedImage> decoded;
  try {
    decoded = ReadImageFile(line.tokens[1]);
  } catch (const std::bad_alloc&) {
  }
  if (!decoded) {
    Warn(line, "cannot read " + line.tokens[1] + "; the screen stays as it was");
    return;
  }
  desktop_.SetScreen(std::move(decoded->bitmap));
}

void MacroRunner::Foreground(const MacroLine& line) {
  if (line.tokens[1] == "none") {
    desktop_.SetForeground(std::nullopt);
    return;
  }
  const auto number = [&](std::size_t i) { return static_cast<int32_t>(*ParseMacroInteger(line.tokens[i])); };
  const int32_t x = number(1), y = number(2);
  desktop_.SetForeground(Rect{x, y, x + number(3), y + number(4)});
}

// The measurement log's date and time from now on.
void MacroRunner::Clock(const MacroLine& line) {
  const LocalTime fixed = *ParseClock(line.tokens[1], line.tokens[2]);
  form_.logs.clock = [fixed] { return fixed; };
}

}  // namespace mv
