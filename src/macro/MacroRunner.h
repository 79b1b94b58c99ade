#pragma once
// The headless front-end: runs a macro file's actions on the main window core with a scripted
// desktop, printing what the user would have seen. See MACRO.md for the file format.
//
// Each action is a row of the action table (MacroRunner.cpp) with its argument count, its syntax
// check and its method; each print form is a row of the print table (PrintForms.cpp). A command that
// arrives later adds its rows and methods.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "macro/MacroScript.h"
#include "macro/ScriptedDesktop.h"
#include "shell/TForm1.h"

namespace mv {

class MacroRunner {
 public:
  MacroRunner(std::ostream& out, std::string programFolder);

  // Checks the whole script, starts the program (window creation, settings, the image argument, the
  // first timer tick), runs the actions and answers the exit status.
  int Run(const std::vector<MacroLine>& script, const std::vector<std::string>& imageArguments);

  struct Action {
    const char* name;
    std::size_t minArguments;
    std::size_t maxArguments;  // SIZE_MAX: any number
    // Syntax of the arguments; an empty answer means fine. May be empty.
    std::function<std::string(const std::vector<std::string>&)> check;
    void (MacroRunner::*run)(const MacroLine& line);
  };
  struct PrintForm {
    const char* name;
    std::size_t arguments;
    // The printed lines for the arguments after the form's name.
    std::vector<std::string> (MacroRunner::*print)(const std::vector<std::string>& arguments);
    bool quotedValue;  // expect compares the unquoted text (message, caption, status)
  };

 private:
  static const std::vector<Action>& Actions();
  static const std::vector<PrintForm>& PrintForms();
  static const Action* FindAction(const std::string& name);
  static const PrintForm* FindPrintForm(const std::string& name);

  // Syntax of every line before anything runs; names of menu items and buttons once the window exists.
  void CheckSyntax(const std::vector<MacroLine>& script) const;
  void CheckNames(const std::vector<MacroLine>& script);
  std::string CheckName(const std::vector<std::string>& tokens);
  void RunLine(const MacroLine& line);

  // Actions.
  void Open(const MacroLine& line);
  void Menu(const MacroLine& line);
  void Popup(const MacroLine& line);
  void Button(const MacroLine& line);
  void Key(const MacroLine& line);
  void Press(const MacroLine& line);
  void Release(const MacroLine& line);
  void Move(const MacroLine& line);
  void Click(const MacroLine& line);
  void Wheel(const MacroLine& line);
  void Status(const MacroLine& line);
  void Depth(const MacroLine& line);
  void Resize(const MacroLine& line);
  void Drop(const MacroLine& line);
  void Clipboard(const MacroLine& line);
  void Tick(const MacroLine& line);
  void CancelProgress(const MacroLine& line);
  void CloseWindow(const MacroLine& line);
  void AnswerLine(const MacroLine& line);
  void Print(const MacroLine& line);
  void Expect(const MacroLine& line);
  void SaveImage(const MacroLine& line);
  void SaveView(const MacroLine& line);
  void Clock(const MacroLine& line);
  void Screen(const MacroLine& line);
  void Foreground(const MacroLine& line);

  // Print forms (PrintForms.cpp).
  std::vector<std::string> PrintMessage(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintCaption(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintStatus(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintZoom(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintCache(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintMode(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintImage(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintPixel(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintMenu(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintSelection(const std::vector<std::string>& arguments);
  // Beyond the stable forms: LoadedFormat and the scroll position.
  std::vector<std::string> PrintFormat(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintScroll(const std::vector<std::string>& arguments);
  // Measurement: the figures, the calibration and the pending log lines.
  std::vector<std::string> PrintFigures(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintCalibration(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintLog(const std::vector<std::string>& arguments);
  // The last option-and-preview dialog's set-up and the last progress dialog.
  std::vector<std::string> PrintOption(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintProgress(const std::vector<std::string>& arguments);
  // The white and black counts the binarization left (N43.Tag and BitBtn11.Tag).
  std::vector<std::string> PrintCounts(const std::vector<std::string>& arguments);
  // The last file dialog: its kind, the filter index and the initial folder it was opened with.
  std::vector<std::string> PrintFileDialog(const std::vector<std::string>& arguments);
  // Saving, colour depth, transparency: a file's size, a palette index, the window's state.
  std::vector<std::string> PrintFile(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintIndex(const std::vector<std::string>& arguments);
  std::vector<std::string> PrintWindow(const std::vector<std::string>& arguments);
  // The lines of `print` for its tokens (after "print"), or of `expect` for its WHAT.
  std::vector<std::string> PrintLines(const std::vector<std::string>& what);

  // Helpers.
  MenuItem* FindItem(const std::string& nameOrCaption);
  // Opens the menus on the way to `item` (running their opening handlers) and clicks it.
  void ChooseItem(MenuItem& item);
  MouseEvent MouseAt(const MacroLine& line);
  int StatusPanelX(int panel) const;

  std::ostream& out_;
  std::string programFolder_;
  ScriptedDesktop desktop_;
  TForm1 form_;
};

// `mirvane --macro FILE [--program-folder DIR] [IMAGE]`: the exit status of the run.
int RunMacroCommandLine(const std::vector<std::string>& arguments);

}  // namespace mv
