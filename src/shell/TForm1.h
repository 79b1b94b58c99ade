#pragma once
// The main window core: the state of the main window, its menus, bars and status panels as a model,
// and its handlers, free of any widget toolkit. A Desktop shows it: the Qt window binds widgets to
// the model and forwards the user's input to the entry points below; the macro runner does the same
// from a script.
//
// TForm1 is the shared core: the working image, the view and zoom, the selection, the edit history,
// the processing frame, the command runner, the menus and controls, the settings, loading and folder
// browsing, with their handlers (named after their components and events: N2Click, FormCreate, …)
// defined in one file per concern: Loading.cpp, Browsing.cpp, Zoom.cpp, ViewCommands.cpp,
// Settings.cpp, History.cpp, HelpCommands.cpp, … The command areas beyond it (measurement, geometry,
// colour, filters, …) are subsystems (shell/Subsystem.h), made when the window is created from the
// list the window was given; they add their menu items, buttons and mouse and paint handlers to the
// core. State several of them share is owned here: the measurements, the log queues, the tool mode.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Feedback.h"
#include "shell/BrowseState.h"
#include "shell/Desktop.h"
#include "shell/FormControls.h"
#include "shell/FormFeedback.h"
#include "shell/HistoryState.h"
#include "shell/InputTypes.h"
#include "shell/LogQueues.h"
#include "shell/Measurements.h"
#include "shell/MenuModel.h"
#include "shell/SelectionState.h"
#include "shell/SettingsState.h"
#include "shell/Subsystem.h"
#include "shell/ToolMode.h"
#include "shell/ViewState.h"
#include "shell/WorkingImage.h"
#include "view/ImageArea.h"

namespace mv {

class OptionSession;
struct FrameCommand;

class TForm1 {
 public:
  // `programFolder` holds the settings file, the libraries and the help files; `subsystems` are
  // made, in their order, when the window is created.
  TForm1(Desktop& desktop, std::string programFolder, SubsystemList subsystems = {});
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // ---- Entry points for the desktop; each runs through the command runner. ----
  void Create();                                         // the window is created
  void Show(const std::vector<std::string>& arguments);  // first showing; the program's arguments
  void TimerFired();                                     // Timer1's interval elapsed (while enabled)
  void CloseRequested();                                 // the user closes the window
  void MenuOpening(const std::string& menuName);         // a menu or popup menu is about to show
  void MenuChosen(const std::string& itemName);          // the user chose an item (ignored when disabled)
  bool KeyPressed(const std::string& key);               // a shortcut ("Ctrl+O", "Right"); true when taken
  void ButtonClicked(const std::string& name);           // BitBtn1 … BitBtn13, Panel1 … Panel12
  void StatusBarPressed(int x, MouseButton button);
  void ImageMouseDown(const MouseEvent& event);
  void ImageMouseMove(const MouseEvent& event);
  void ImageMouseUp(const MouseEvent& event);
  void WheelTurned(bool down, ShiftState shift);
  void FilesDropped(const std::vector<std::string>& paths);
  void WindowResized();             // the window or the image area changed its size
  void ScrolledTo(Point position);  // the user moved scb1's scroll bars

  bool IsClosed() const { return closed_; }
  // The viewport surface as it stands (composed at the end of every event).
  const Bitmap& Surface() const { return area.Surface(); }

  // ---- The command runner ----
  // Runs a handler; what escapes it is reported like the application's default error box, after the
  // cursor is restored. A handler run from inside another is not wrapped again. At the end of the
  // outermost handler the image area is recomposed when something it shows has changed.
  void Run(const std::function<void()>& handler);
  // Inside a catch block: restores the cursor and shows the default error box for the exception.
  void ReportCurrentException();
  // What lower layers (filtering, colour) see of the window: boxes, message line, cursor, progress.
  Feedback& GetFeedback() { return feedback_; }

  // ---- Start and stop (TForm1.cpp) ----
  void FormCreate();
  void FormShow(const std::vector<std::string>& arguments);
  void Timer1Timer();
  bool FormClose();  // false: the window stays open
  void Close();      // as the window's Close: FormClose, then the window closes when it agreed
  bool ConfirmDiscard();
  void N1Click();
  void N3Click();
  void N4Click();
  void N7Click();
  void O1Click();
  void SetMessage(const std::string& text) { controls.label1 = text; }
  void SetTimerEnabled(bool enabled);

  // ---- Settings (Settings.cpp) ----
  void ReadSettings(bool partialOnly);
  void WriteSettings();
  void O2Click();
  // "Cache" "Not Delete For Copy", read at each use.
  bool ReadNotDeleteForCopy() const;

  // ---- Loading (Loading.cpp) ----
  bool LoadImageFile(const std::string& path, bool withFolder);
  void ShowFileStatus(const std::string& path);
  void N2Click();
  void D1Click();
  void WMDropFiles(const std::vector<std::string>& paths);

  // ---- Folder browsing (Browsing.cpp) ----
  void ListFolder(const std::string& path);
  // The index of `path` in FolderList, compared without regard to case; -1 when it is not listed.
  int32_t IndexInFolderList(const std::string& path) const;
  void N33Click();
  void N38Click();
  void N39Click();
  void BitBtn1Click();
  void BitBtn2Click();

  // ---- Zoom (Zoom.cpp) ----
  void ApplyZoom(const std::string& entry);
  void FitToWindow();
  void StepZoom(int step);
  void N4001Click();
  void N2001Click();
  void N18Click();
  void N751Click();
  void N501Click();
  void N251Click();
  void N8Click();
  void N14Click();
  void Up1Click() { StepZoom(+1); }
  void Down1Click() { StepZoom(-1); }
  void BitBtn3Click();
  void BitBtn4Click();
  // The zoom entry carrying the check mark: N4001 … N14, or "" for none.
  std::string CheckedZoomEntry() const;

  // ---- View: wheel, resizing, bars, status bar (ViewCommands.cpp) ----
  void FormMouseWheel(bool down, ShiftState shift);
  void FormResize();
  void scb1Resize();
  void N24Click();
  void N36Click();
  void sb1MouseDown(MouseButton button, int x);
  void PopupMenu2Popup();
  bool TransparencyModeOn() const { return menus.IsChecked("A1"); }

  // ---- Edit history (History.cpp) ----
  void RecordUndo();
  void ClearUndo();
  void EnableImageCommands(bool enabled);
  void N46Click();  // undo
  void N11Click();  // redo
  void BitBtn13Click();
  // A command's finished work bitmap, offered as memory for the next recording (see HistoryState).
  void KeepForRecording(Bitmap bitmap);
  // A bitmap kept aside whose pixel memory has the size of `picture`'s (copying `picture` into it
  // reuses that memory), or an empty one.
  Bitmap TakeSpareFor(const Bitmap& picture);

  // ---- Selection (Selection.cpp) ----
  // The processing rectangle in image pixels (right and bottom exclusive): the selection, its
  // corners normalised and stored back, divided by the zoom factor with halves to even and kept
  // within the picture; the whole picture without a selection.
  Rect GetProcessingRect();
  // The selection outline SelectionStart-SelectionEnd on pb1, inverting (pmNot, clear brush), when
  // all four coordinates are >= 0. Drawing it twice erases it. The overlay's repaint calls it last.
  void DrawSelectionOutline();
  // Erases the shown outline and forgets the selection; clears status panel 3.
  void RemoveSelection();
  // Status panel 3: the selection's size in image pixels, "WxH".
  void ShowSelectionSize();
  // A view coordinate in image pixels: divided by the zoom factor, rounded with halves to even.
  int64_t ViewToImage(int64_t viewCoordinate) const;
  // Above 100 % a view coordinate moved onto the nearest image-pixel boundary; otherwise as it is.
  int32_t SnapToImagePixels(int32_t viewCoordinate) const;
  // A press near a corner of the stored selection takes hold of it: the corners are arranged so
  // that the drag moves SelectionEnd. False when no corner is near.
  bool GrabSelectionCorner(int x, int y);
  void A2Click();  // select all
  // Tool mode 0's part of pb1's mouse handlers: the selection drag; the pointer in status panel 3.
  void SelectionMouseDown(const MouseEvent& event);
  void SelectionMouseMove(const MouseEvent& event);
  void SelectionMouseUp(const MouseEvent& event);

  // ---- The processing frame (ProcessingFrame.cpp) ----
  // A copy of the rectangle of the working image, 24 bits per pixel; none after the error box and
  // message when it cannot be made.
  std::optional<Bitmap> CopyRegion(const Rect& rect);
  // Runs a command that changes pixels: the processing rectangle, its copy, the command's
  // parameters and work, the result put back at the rectangle's corner, the undo entry. True when
  // the working image changed; a cancelled or failed command leaves it as it was and records nothing.
  bool RunProcessingFrame(const FrameCommand& command);
  // Puts `result` onto the working image with its top-left corner at (left, top), clipped; an image
  // that is not 24 or 32 bits per pixel becomes 24 bits first (status panel 4 follows).
  void DrawOntoWorkingImage(const Bitmap& result, int32_t left, int32_t top);
  // Status panels 2 and 4: the working image's size and bits per pixel.
  void ShowImageSizeAndDepth();

  // ---- Clipboard (Clipboard.cpp) ----
  void N5Click();   // copy
  void N6Click();   // paste into the image
  void N42Click();  // paste as a new image
  bool PasteAsNewImage();

  // ---- Help, version (HelpCommands.cpp) ----
  void H1Click();
  // The help file "mirvane.hlp" opened at a topic (the dialogs' Help buttons), with the help
  // command's checks and messages.
  void ShowHelpTopic(const std::string& topic);
  void smClick();
  void V1Click();

  // ---- The image area (ImageAreaInput.cpp) ----
  // The mouse on pb1; the tool modes hook in through the handler lists below.
  void pb1MouseDown(const MouseEvent& event);
  void pb1MouseMove(const MouseEvent& event);
  void pb1MouseUp(const MouseEvent& event);
  // A left press's position clamped onto the image area: 0 … Im1 width and 0 … Im1 height.
  Point ClampToImageArea(int x, int y) const;
  // pb1.Refresh / Repaint: recompose now and show.
  void RefreshImageArea();
  // Recomposes when something shown has changed (the end of every event).
  void UpdateImageArea();
  Size ImageAreaSize() { return desktop.ImageAreaClientSize(); }
  // Sets Im1's size and keeps the scroll position inside the new range.
  void SetIm1Size(Size size);

  // ---- The option library (OptionLibraryCall.cpp) ----
  // Loads option.so, runs `use` with it and unloads it, on every path. A missing library or export
  // shows the missing-library box; the answer is then false.
  bool WithOptionLibrary(const std::function<void(OptionSession&)>& use);

  // ---- Paths beside the program ----
  std::string ProgramFile(const std::string& name) const { return programFolder + "/" + name; }

  // ---- State ----
  Desktop& desktop;
  const std::string programFolder;
  MenuModel menus;
  FormControls controls;
  ImageArea area;      // pb1 over Im1 in the scroll box scb1
  WorkingImage image;  // Im1.Picture.Bitmap
  ViewState view;
  HistoryState history;
  SelectionState selection;
  BrowseState browse;
  SettingsState settings;
  std::string VersionText;
  int32_t Tag = kSelectionMode;  // the tool mode (shell/ToolMode.h)
  int32_t Timer1Tag = 0;         // pending screen capture: 0 none, 1 desktop, 2 foreground window
  bool Timer1Enabled = true;
  int32_t S1Tag = 0;  // 1 while the confirm-discard check asks the save command to save
  // Progress dialogs (TForm3) that exist now; while one does, the pointer over the image area shows
  // the hourglass and nothing else.
  int ProgressDialogs = 0;
  Measurements measurements;  // figures, calibration, unit
  LogQueues logs;             // pending measurement log lines

  // The screen capture pending in Timer1Tag (1 desktop, 2 foreground window), set by the capture
  // commands; Timer1Timer runs it on the tick after they armed the timer.
  std::function<void()> performCapture;

  // The subsystem of type T, or nullptr when the window has none.
  template <typename T>
  T* FindSubsystem() {
    for (const auto& subsystem : subsystems_) {
      if (auto* found = dynamic_cast<T*>(subsystem.get())) return found;
    }
    return nullptr;
  }

  // Handlers the tool modes add to the image area's mouse entry points, run in order.
  std::vector<std::function<void(const MouseEvent&)>> mouseDownHandlers;
  std::vector<std::function<void(const MouseEvent&)>> mouseMoveHandlers;
  std::vector<std::function<void(const MouseEvent&)>> mouseUpHandlers;
  // Handlers run after every event's handler, before the repaint: a subsystem notices there what
  // another handler changed (a wave request ended by undo or by the abort item).
  std::vector<std::function<void()>> afterEventHandlers;

 private:
  void RegisterMenuLayout();
  void RegisterFileCommands();
  void RegisterViewCommands();
  void RegisterBrowsingCommands();
  void RegisterOtherCommands();
  void RegisterHistoryCommands();
  // The working image becomes a copy of the undo entry at UndoPosition; mode 0, zoom re-applied.
  void ShowUndoEntry();
  // Next (+1) or previous (-1) image of the folder list; true when one was loaded.
  bool StepToImage(int direction);
  // Help for the help command and the theory manual: existence checks, messages, the call.
  void OpenHelpFile(const std::string& base, const std::string& missingText,
                    const std::string& missingContents, HelpRequest::Command command,
                    const std::string& topic);
  ViewportScene CurrentScene();
  Point ClampScroll(Point position) const;
  MouseEvent WithToolMode(const MouseEvent& event) const;
  // False while a progress dialog exists: input that would start commands is ignored then (pointer
  // moves, resizing, scrolling and menus opening still arrive).
  bool AcceptsInput() const;

  FormFeedback feedback_;
  int commandDepth_ = 0;
  bool closed_ = false;
  SubsystemList subsystemFactories_;
  // Last, so the subsystems go before the state their handlers refer to.
  std::vector<std::unique_ptr<Subsystem>> subsystems_;
};

}  // namespace mv
