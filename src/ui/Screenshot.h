#pragma once
// Pictures of the window as the screen shows it, for tests and for looking at the window.

#include <QImage>
#include <QString>

class QWidget;

namespace mv {

class MainWindow;

// The window's area as the screen shows it (what the display server holds), or the widget drawn
// offscreen where the screen cannot be read.
QImage GrabWindow(QWidget& window);

// Once the start-up tick has been handled and the window is on the screen, saves it to `path`,
// prints "screenshot WIDTH HEIGHT" (the window's size in device pixels) and ends the event loop: status 0
// when the picture was written, 1 otherwise.
void SaveScreenshotAfterStartup(MainWindow& window, const QString& path);

}  // namespace mv
