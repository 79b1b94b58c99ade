#include "ui/QtDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QUrl>
#include <memory>
#include <utility>

#include "shell/TForm3.h"
#include "ui/ActiveWindow.h"
#include "ui/ClipboardImages.h"
#include "ui/FileDialogs.h"
#include "ui/ImageAreaWidget.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxes.h"
#include "ui/OptionDialog.h"
#include "ui/ProgressWindow.h"
#include "ui/RgbDialog.h"
#include "ui/WindowOpacity.h"

namespace mv {

namespace {

constexpr const char* kSvgMime = "image/svg+xml";
constexpr qint64 kPendingEventsInterval = 20;  // milliseconds

Qt::CursorShape ShapeOf(Cursor cursor) {
  switch (cursor) {
    case Cursor::Hourglass:
      return Qt::WaitCursor;
    case Cursor::Cross:
      return Qt::CrossCursor;
    case Cursor::Arrow:
    case Cursor::Default:
      break;
  }
  return Qt::ArrowCursor;
}

Rect ToRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QScreen* MainScreen(QWidget& window) {
  QScreen* screen = window.screen();
  return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

// While a modal dialog of the core is open the window shows the model as it stands behind it, and
// the pointer is the normal arrow over the dialog whatever the screen cursor is.
class QtDesktop::ModalScope {
 public:
  explicit ModalScope(QtDesktop& desktop) : desktop_(desktop) {
    desktop_.window_.ShowModel();
    ++desktop_.modalDepth_;
    desktop_.ApplyCursor();
  }
  ~ModalScope() {
    --desktop_.modalDepth_;
    desktop_.ApplyCursor();
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  QtDesktop& desktop_;
};

// Every call of the library that may show a dialog runs in a ModalScope, so the window shows what the
// command has changed so far (a menu disabled, the message line) behind the library's dialog.
class QtDesktop::ModalOptionSession : public OptionSession {
  // Runs one call of the library inside a ModalScope.
  template <typename Call>
  auto Modal(const Call& call) {
    const ModalScope modal(desktop_);
    return call();
  }

 public:
  ModalOptionSession(QtDesktop& desktop, std::unique_ptr<OptionSession> library)
      : desktop_(desktop), library_(std::move(library)) {}

  int32_t CompressDialog() override {
    return Modal([&] { return library_->CompressDialog(); });
  }
  int32_t CompressDialogFor(const Bitmap& image) override {
    return Modal([&] { return library_->CompressDialogFor(image); });
  }
  LengthAndUnit GetLengthAndUnit(double length, int32_t unitIndex) override {
    return Modal([&] { return library_->GetLengthAndUnit(length, unitIndex); });
  }
  void ShowVersion(const std::string& versionText) override {
    Modal([&] { library_->ShowVersion(versionText); });
  }
  void ShowSetting(const std::string& settingsPath) override {
    Modal([&] { library_->ShowSetting(settingsPath); });
  }
  int32_t GetAlphaBlendVal() override {
    return Modal([&] { return library_->GetAlphaBlendVal(); });
  }
  int32_t TransBackColor() override {
    return Modal([&] { return library_->TransBackColor(); });
  }
  double DirectZoomRatio(double currentZoom) override {
    return Modal([&] { return library_->DirectZoomRatio(currentZoom); });
  }
  Point GetPointAndSize(Point imageSize, int32_t mode) override {
    return Modal([&] { return library_->GetPointAndSize(imageSize, mode); });
  }
  void ShowCustomFilter(CustomFilterRecord& record) override {
    Modal([&] { library_->ShowCustomFilter(record); });
  }
  void ShowHistgram(const Bitmap& image) override {
    Modal([&] { library_->ShowHistgram(image); });
  }
  HistogramRecord GetHistgramHiLow(const Bitmap& image) override {
    return Modal([&] { return library_->GetHistgramHiLow(image); });
  }
  HistogramRecord GetHistgramRange(const Bitmap& image) override {
    return Modal([&] { return library_->GetHistgramRange(image); });
  }

 private:
  QtDesktop& desktop_;
  std::unique_ptr<OptionSession> library_;
};

std::unique_ptr<OptionSession> QtDesktop::ModalOptionLibrary::Load() {
  return std::make_unique<ModalOptionSession>(desktop_, desktop_.optionLibrary_.Load());
}

QtDesktop::QtDesktop(MainWindow& window, const std::string& programFolder)
    : window_(window), programFolder_(programFolder), optionLibrary_(programFolder) {}

QtDesktop::~QtDesktop() {
  for (auto& [model, progress] : progressWindows_) delete progress.data();
  if (overrideSet_) QApplication::restoreOverrideCursor();
}

BoxButton QtDesktop::ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons,
                                    int helpContext) {
  const ModalScope modal(*this);
  return RunMessageBox(&window_, kind, text, buttons, [&] {
    ShowHelp(HelpRequest{programFolder_ + "/mirvane.hlp", HelpRequest::Command::Topic,
                         std::to_string(helpContext)});
  });
}

std::optional<FileDialogResult> QtDesktop::ShowFileDialog(const FileDialogRequest& request) {
  const ModalScope modal(*this);
  return RunFileDialog(request, &window_);
}

bool QtDesktop::ShowOptionDialog(TPNGOpt& model) {
  const ModalScope modal(*this);
  OptionDialog dialog(model, &window_);
  return dialog.Run();
}

bool QtDesktop::ShowRgbDialog(TRGBRes& model) {
  const ModalScope modal(*this);
  RgbDialog dialog(model, &window_);
  return dialog.Run();
}

std::optional<ColorRef> QtDesktop::ShowColorDialog(ColorRef initial) {
  const ModalScope modal(*this);
  const QColor chosen =
      QColorDialog::getColor(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), &window_, "色の設定");
  if (!chosen.isValid()) return std::nullopt;
  return MakeColor(static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                   static_cast<uint8_t>(chosen.blue()));
}

void QtDesktop::ShowPopupMenu(const std::string& menuName) {
  window_.PopupMenuAt(menuName, QCursor::pos());
}

void QtDesktop::ShowProgressDialog(TForm3& model) {
  QPointer<ProgressWindow>& progress = progressWindows_[&model];
  if (!progress) progress = new ProgressWindow(model, &window_);
  progress->ShowModel();
  progress->Open();
}

void QtDesktop::UpdateProgressDialog(TForm3& model) {
  const auto found = progressWindows_.find(&model);
  if (found != progressWindows_.end() && found->second) found->second->ShowModel();
}

void QtDesktop::HideProgressDialog(TForm3& model) {
  const auto found = progressWindows_.find(&model);
  if (found == progressWindows_.end()) return;
  if (ProgressWindow* progress = found->second) {
    progress->Detach();
    progress->hide();
    // It may be hiding from inside its own Cancel button's click.
    progress->deleteLater();
  }
  progressWindows_.erase(found);
}

// Called after every row of a long operation. Input and repaints are handled at most every
// kPendingEventsInterval: often enough for the bar to move smoothly and Cancel to act at once, and
// rarely enough that a picture of thousands of rows is not held up by as many repaints.
void QtDesktop::ProcessPendingEvents() {
  if (pendingEvents_.isValid() && pendingEvents_.elapsed() < kPendingEventsInterval) return;
  window_.ShowControls();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  pendingEvents_.start();
}

void QtDesktop::SetClipboardBitmap(const Bitmap& bitmap) {
  QGuiApplication::clipboard()->setImage(ToQImage(bitmap));
}

std::optional<Bitmap> QtDesktop::ClipboardBitmap() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasImage()) return std::nullopt;
  const QImage image = qvariant_cast<QImage>(data->imageData());
  if (image.isNull()) return std::nullopt;
  return FromQImage(image);
}

std::optional<Bitmap> QtDesktop::ClipboardMetafile() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasFormat(kSvgMime)) return std::nullopt;
  return RenderSvg(data->data(kSvgMime));
}

Rect QtDesktop::VirtualDesktopRect() {
  return ToRect(MainScreen(window_)->virtualGeometry());
}

std::optional<Rect> QtDesktop::ForegroundWindowRect() {
  const std::optional<QRect> bounds = ActiveWindowBounds();
  if (!bounds) return std::nullopt;
  return ToRect(*bounds);
}

Bitmap QtDesktop::CaptureScreen(const Rect& area) {
  // Where the display server refuses (Wayland gives no other client's pixels) the picture is null.
  const QPixmap shot = MainScreen(window_)->grabWindow(0, area.left, area.top, area.Width(), area.Height());
  if (shot.isNull()) return Bitmap();
  return FromQImage(shot.toImage());
}

Size QtDesktop::ScreenSize() {
  const QSize size = MainScreen(window_)->size();
  return {size.width(), size.height()};
}

void QtDesktop::ShowHelp(const HelpRequest& request) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(request.file)));
}

void QtDesktop::SetScreenCursor(Cursor cursor) {
  screenCursor_ = cursor == Cursor::Default ? std::nullopt : std::optional(ShapeOf(cursor));
  ApplyCursor();
}

// The screen cursor overrides every widget's own, as one entry on Qt's override stack.
void QtDesktop::ApplyCursor() {
  const std::optional<Qt::CursorShape> shape =
      modalDepth_ > 0 ? std::optional(Qt::ArrowCursor) : screenCursor_;
  if (!shape) {
    if (overrideSet_) QApplication::restoreOverrideCursor();
    overrideSet_ = false;
  } else if (overrideSet_) {
    QApplication::changeOverrideCursor(*shape);
  } else {
    QApplication::setOverrideCursor(*shape);
    overrideSet_ = true;
  }
}

void QtDesktop::SetImageAreaCursor(Cursor cursor) {
  QWidget* area = window_.ImageArea().viewport();
  if (cursor == Cursor::Default)
    area->unsetCursor();
  else
    area->setCursor(ShapeOf(cursor));
}

void QtDesktop::SetWindowOpacity(std::optional<int> alpha) {
  window_.setWindowOpacity(alpha ? std::clamp(*alpha, 0, 255) / 255.0 : 1.0);
}

bool QtDesktop::ShowsWindowOpacity() {
  return DesktopShowsWindowOpacity();
}

void QtDesktop::SetAlwaysOnTop(bool onTop) {
  const bool shown = window_.isVisible();
  window_.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (shown) window_.show();  // changing the flags hides a window
}

void QtDesktop::MinimizeApplication() {
  window_.showMinimized();
}

void QtDesktop::RestoreApplication() {
  if (window_.isMinimized()) {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
  }
}

bool QtDesktop::IsMaximized() {
  return window_.isMaximized();
}

void QtDesktop::SetMaximized(bool maximized) {
  window_.setWindowState(maximized ? window_.windowState() | Qt::WindowMaximized
                                   : window_.windowState() & ~Qt::WindowMaximized);
}

Rect QtDesktop::WindowBounds() {
  return ToRect(window_.frameGeometry());
}

void QtDesktop::SetWindowBounds(const Rect& bounds) {
  // The bounds include the frame the window manager draws; the client is that much smaller.
  const QSize frame = window_.frameGeometry().size() - window_.size();
  window_.move(bounds.left, bounds.top);
  window_.resize(std::max(1, bounds.Width() - frame.width()), std::max(1, bounds.Height() - frame.height()));
}

int QtDesktop::WindowClientWidth() {
  return window_.width();
}

Size QtDesktop::ImageAreaClientSize() {
  return window_.ImageArea().DeviceClientSize();
}

void QtDesktop::CloseWindow() {
  window_.CloseAgreed();
}

void QtDesktop::SetTimerEnabled(bool enabled) {
  window_.SetTimerRunning(enabled);
}

Point QtDesktop::PointerPosition() {
  ImageAreaWidget& area = window_.ImageArea();
  return area.ContentPoint(area.viewport()->mapFromGlobal(QPointF(QCursor::pos())));
}

void QtDesktop::RepaintImageArea() {
  window_.ImageArea().viewport()->update();
}

}  // namespace mv
