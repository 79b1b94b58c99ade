#pragma once
// The main window: widgets bound to the core TForm1. It builds the menus, bars and status bar from
// the core's model, hands every user event to the core's entry points and shows the model again
// after each one. No behaviour lives here: what an event does is the core's business.
//
// Events that reach the window while a command runs (inside the event loops of its dialogs or
// between the rows of a long operation) are not handed to the core, so a command never starts in
// the middle of another; the timer tick and size changes are kept and handed over afterwards.
// Pointer moves over the image area are the exception: the core answers them with the hourglass.

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mv {

class BottomBar;
class ImageAreaWidget;
class MenuBinder;
class QtDesktop;
class SideBar;
class StatusBarWidget;
class TForm1;

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(const std::string& programFolder);
  ~MainWindow() override;

  // The first showing: the settings are read and the first argument is loaded as an image.
  void Start(const std::vector<std::string>& arguments);

  TForm1& Form() { return *form_; }
  MenuBinder& Menus() { return *menus_; }
  ImageAreaWidget& ImageArea() { return *imageArea_; }
  QTimer& Timer1() { return timer1_; }

  // Runs an entry point of the core, unless a command is running, then shows the model.
  void Deliver(const std::function<void()>& entry);
  bool CommandRunning() const { return depth_ > 0; }
  // Caption, menus, bars, status panels and scroll bars from the model.
  void ShowModel();
  // The same without the menus, which cannot open while a command runs (between its rows).
  void ShowControls();

  // For the desktop.
  void SetTimerRunning(bool running);
  // The core agreed to close: the window closes once the current event has been handled.
  void CloseAgreed();
  // Shows a popup menu of the model at `globalPosition`; the chosen item is clicked afterwards, as
  // an event of its own.
  void PopupMenuAt(const std::string& menuName, QPoint globalPosition);
  // Called after the start-up tick has been handled (used by the screenshot option).
  std::function<void()> onStartupTick;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildWidgets();
  void BindImageArea();
  bool HandleKey(QObject* watched, QKeyEvent& event);
  bool HandleWheel(QWheelEvent& event);
  bool BelongsHere(QObject* watched) const;
  void TimerTick();
  void AreaResized();
  void DeliverResize();
  void FlushDeferred();
  void ShowContextMenu(QPoint globalPosition);

  QTimer timer1_;
  std::unique_ptr<QtDesktop> desktop_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<MenuBinder> menus_;
  ImageAreaWidget* imageArea_ = nullptr;
  BottomBar* bottomBar_ = nullptr;
  SideBar* sideBar_ = nullptr;
  StatusBarWidget* statusBar_ = nullptr;
  int depth_ = 0;
  bool tickDeferred_ = false;
  bool resizeDeferred_ = false;
  bool resizePosted_ = false;
  bool closeAgreed_ = false;
  bool started_ = false;  // the first showing has been handed to the core
  int wheelRemainder_ = 0;
};

}  // namespace mv
