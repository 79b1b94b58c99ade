#include "ui/Screenshot.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "ui/MainWindow.h"

namespace mv {

namespace {

constexpr int kPollInterval = 100;  // milliseconds
constexpr int kPolls = 100;
// Drawn frames reach the display server a little after the window reports itself exposed.
constexpr int kSettleTime = 300;

void SaveWhenShown(MainWindow& window, const QString& path, int pollsLeft) {
  const bool exposed = window.windowHandle() != nullptr && window.windowHandle()->isExposed();
  if (!exposed && pollsLeft > 0) {
    QTimer::singleShot(kPollInterval, &window,
                       [&window, path, pollsLeft] { SaveWhenShown(window, path, pollsLeft - 1); });
    return;
  }
  QTimer::singleShot(kSettleTime, &window, [&window, path] {
    const bool saved = GrabWindow(window).save(path, "PNG");
    const qreal scale = window.devicePixelRatioF();
    std::printf("screenshot %d %d\n", qRound(window.width() * scale), qRound(window.height() * scale));
    std::fflush(stdout);
    QCoreApplication::exit(saved ? 0 : 1);
  });
}

}  // namespace

QImage GrabWindow(QWidget& window) {
  QScreen* screen = window.screen();
  QPixmap shot;
  if (screen != nullptr && window.windowHandle() != nullptr && window.windowHandle()->isExposed())
    shot = screen->grabWindow(window.winId());
  if (shot.isNull() || shot.size() != window.size() * shot.devicePixelRatio()) shot = window.grab();
  return shot.toImage();
}

void SaveScreenshotAfterStartup(MainWindow& window, const QString& path) {
  window.onStartupTick = [&window, path] { SaveWhenShown(window, path, kPolls); };
}

}  // namespace mv
