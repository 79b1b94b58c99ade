#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <cstdlib>

#include "app/Subsystems.h"
#include "platform/DepthScope.h"
#include "shell/TForm1.h"
#include "ui/BottomBar.h"
#include "ui/ImageAreaWidget.h"
#include "ui/KeyText.h"
#include "ui/MenuBinder.h"
#include "ui/QtDesktop.h"
#include "ui/SideBar.h"
#include "ui/StatusBarWidget.h"

namespace mv {

namespace {

constexpr int kTimer1Interval = 500;
// The client area the window is designed for (without the menu bar).
constexpr QSize kDesignClientSize(537, 304);
// The core keeps the window's outer bounds at least this large; the window does not offer less.
constexpr QSize kSmallestWindow(545, 350);
constexpr int kWheelNotch = 120;
constexpr qint64 kExposeWait = 2000;  // milliseconds

// The local files among the dropped items, in their order.
std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  return paths;
}

}  // namespace

MainWindow::MainWindow(const std::string& programFolder) {
  setAcceptDrops(true);
  timer1_.setInterval(kTimer1Interval);
  connect(&timer1_, &QTimer::timeout, this, [this] { TimerTick(); });
  desktop_ = std::make_unique<QtDesktop>(*this, programFolder);
  form_ = std::make_unique<TForm1>(*desktop_, programFolder, AllSubsystems());
  BuildWidgets();
  Deliver([this] { form_->Create(); });
  menus_ = std::make_unique<MenuBinder>(
      form_->menus,
      [this](const std::string& item) {
        // An item chosen from a popup menu the core opened runs once that command has ended.
        if (depth_ > 0)
          QTimer::singleShot(0, this, [this, item] { Deliver([&] { form_->MenuChosen(item); }); });
        else
          Deliver([&] { form_->MenuChosen(item); });
      },
      [this](const std::string& menu) { Deliver([&] { form_->MenuOpening(menu); }); });
  menus_->Build(*menuBar(), *this);
  resize(kDesignClientSize.width(), kDesignClientSize.height() + menuBar()->sizeHint().height());
  ShowModel();
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  timer1_.stop();
}

void MainWindow::BuildWidgets() {
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  const auto click = [this](const std::string& name) { Deliver([&] { form_->ButtonClicked(name); }); };
  imageArea_ = new ImageAreaWidget(central);
  sideBar_ = new SideBar(form_->controls, click, central);
  bottomBar_ = new BottomBar(form_->controls, click, central);
  statusBar_ = new StatusBarWidget(
      [this](int x, MouseButton button) { Deliver([&] { form_->StatusBarPressed(x, button); }); }, central);
  grid->addWidget(imageArea_, 0, 0);
  grid->addWidget(sideBar_, 0, 1);
  grid->addWidget(bottomBar_, 1, 0, 1, 2);
  grid->addWidget(statusBar_, 2, 0, 1, 2);
  grid->setRowStretch(0, 1);
  grid->setColumnStretch(0, 1);
  setCentralWidget(central);
  BindImageArea();
}

void MainWindow::BindImageArea() {
  ImageAreaWidget::Handlers handlers;
  handlers.surface = [this]() -> const Bitmap& { return form_->Surface(); };
  handlers.press = [this](const MouseEvent& event) { Deliver([&] { form_->ImageMouseDown(event); }); };
  handlers.move = [this](const MouseEvent& event) {
    // Between the rows of a long operation the core answers the pointer with the hourglass.
    if (depth_ > 0)
      form_->ImageMouseMove(event);
    else
      Deliver([&] { form_->ImageMouseMove(event); });
  };
  handlers.release = [this](const MouseEvent& event) { Deliver([&] { form_->ImageMouseUp(event); }); };
  handlers.contextMenu = [this](QPoint at) { ShowContextMenu(at); };
  handlers.scrolled = [this](Point position) { Deliver([&] { form_->ScrolledTo(position); }); };
  handlers.resized = [this] { AreaResized(); };
  imageArea_->SetHandlers(std::move(handlers));
}

void MainWindow::Start(const std::vector<std::string>& arguments) {
  // The settings give the window's outer bounds; the frame around it is known once the window is
  // on the screen (a window manager reports it when it maps the window).
  QElapsedTimer waited;
  waited.start();
  while (isVisible() && windowHandle() != nullptr && !windowHandle()->isExposed() &&
         waited.elapsed() < kExposeWait)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  started_ = true;
  Deliver([&] { form_->Show(arguments); });
}

void MainWindow::Deliver(const std::function<void()>& entry) {
  if (depth_ > 0 || closeAgreed_) return;
  {
    const DepthScope command(depth_);
    entry();
  }
  ShowModel();
  FlushDeferred();
}

void MainWindow::FlushDeferred() {
  if (depth_ > 0 || closeAgreed_) return;
  if (resizeDeferred_) {
    resizeDeferred_ = false;
    DeliverResize();
  }
  if (tickDeferred_) {
    tickDeferred_ = false;
    TimerTick();
  }
}

void MainWindow::ShowModel() {
  if (!form_) return;
  if (menus_) menus_->Sync();
  ShowControls();
  // Handlers draw on the surface between compositions (rubber bands, outlines, markers).
  imageArea_->viewport()->update();
}

void MainWindow::ShowControls() {
  const FormControls& controls = form_->controls;
  setWindowTitle(QString::fromStdString(controls.caption));
  bottomBar_->Show(controls);
  sideBar_->Show(controls);
  statusBar_->Show(controls);
  const ViewState& view = form_->view;
  imageArea_->ShowScrollState(view.im1, view.autoScroll, view.scroll, view.scrollStep);
  // Not below what the core allows, nor below the size it has set (the frame may not be known yet).
  if (isVisible()) {
    const QSize frame = frameGeometry().size() - size();
    setMinimumSize((kSmallestWindow - frame).boundedTo(size()));
  }
}

void MainWindow::SetTimerRunning(bool running) {
  if (running)
    timer1_.start();
  else
    timer1_.stop();
}

void MainWindow::TimerTick() {
  if (depth_ > 0 || !started_) {
    tickDeferred_ = true;
    return;
  }
  Deliver([this] { form_->TimerFired(); });
  if (onStartupTick) {
    const std::function<void()> startupTick = std::move(onStartupTick);
    onStartupTick = nullptr;
    startupTick();
  }
}

// The visible part of the image area changed its size. Handled as an event of its own, once the
// layout has settled, so one change of the window's size reaches the core once. Sizes before the
// first showing are kept until it has been handled: the core would answer the window's provisional
// size by setting bounds of its own while the window manager's frame is not known yet, and that
// request could reach the screen after the settings' bounds.
void MainWindow::AreaResized() {
  if (resizePosted_) return;
  resizePosted_ = true;
  QTimer::singleShot(0, this, [this] {
    resizePosted_ = false;
    if (depth_ > 0 || !started_)
      resizeDeferred_ = true;
    else
      DeliverResize();
  });
}

void MainWindow::DeliverResize() {
  Deliver([this] { form_->WindowResized(); });
}

void MainWindow::CloseAgreed() {
  closeAgreed_ = true;
  timer1_.stop();
  QTimer::singleShot(0, this, [this] { close(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeAgreed_) {
    event->accept();
    return;
  }
  event->ignore();
  Deliver([this] { form_->CloseRequested(); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths = LocalFiles(event->mimeData());
  if (paths.empty()) return;
  event->acceptProposedAction();
  // Loaded once the drop has finished, so the program the files came from is not kept waiting by a
  // question about the current image.
  QTimer::singleShot(0, this,
                     [this, paths = std::move(paths)] { Deliver([&] { form_->FilesDropped(paths); }); });
}

void MainWindow::PopupMenuAt(const std::string& menuName, QPoint globalPosition) {
  QMenu* menu = menus_ ? menus_->Menu(menuName) : nullptr;
  if (menu == nullptr) return;
  menus_->Sync();
  bool anyShown = false;
  for (const QAction* action : menu->actions())
    anyShown = anyShown || (action->isVisible() && !action->isSeparator());
  if (anyShown) menu->exec(globalPosition);
}

void MainWindow::ShowContextMenu(QPoint globalPosition) {
  if (depth_ > 0) return;
  Deliver([this] { form_->MenuOpening(kImagePopupMenu); });
  PopupMenuAt(kImagePopupMenu, globalPosition);
}

bool MainWindow::BelongsHere(QObject* watched) const {
  const auto* widget = qobject_cast<const QWidget*>(watched);
  return widget != nullptr && widget->window() == this;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      return HandleKey(watched, static_cast<QKeyEvent&>(*event));
    case QEvent::Wheel:
      return BelongsHere(watched) && HandleWheel(static_cast<QWheelEvent&>(*event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      // While a command runs (its progress dialog open), the window takes no clicks.
      return depth_ > 0 && BelongsHere(watched);
    default:
      return false;
  }
}

bool MainWindow::HandleKey(QObject* watched, QKeyEvent& event) {
  if (!BelongsHere(watched) || qobject_cast<QMenuBar*>(watched) != nullptr) return false;
  if (QApplication::activePopupWidget() != nullptr || QApplication::activeModalWidget() != nullptr)
    return false;
  if (depth_ > 0) return true;
  // A key the core takes stops here; one it does not know travels on up to the window, and asking
  // the core again on the way changes nothing.
  const std::string key = KeyText(event);
  if (key.empty()) return false;
  bool taken = false;
  Deliver([&] { taken = form_->KeyPressed(key); });
  return taken;
}

// The wheel belongs to the window wherever the pointer is on it; each notch scrolls once.
bool MainWindow::HandleWheel(QWheelEvent& event) {
  if (QApplication::activePopupWidget() != nullptr) return false;
  if (depth_ > 0) return true;
  const QPoint delta = event.angleDelta();
  wheelRemainder_ += delta.y() != 0 ? delta.y() : delta.x();
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  const ShiftState shift{(modifiers & Qt::ShiftModifier) != 0, (modifiers & Qt::ControlModifier) != 0,
                         (modifiers & Qt::AltModifier) != 0};
  while (std::abs(wheelRemainder_) >= kWheelNotch) {
    const bool down = wheelRemainder_ < 0;
    wheelRemainder_ += down ? kWheelNotch : -kWheelNotch;
    Deliver([&] { form_->WheelTurned(down, shift); });
  }
  return true;
}

}  // namespace mv
