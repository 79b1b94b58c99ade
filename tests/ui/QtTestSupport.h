#pragma once
// Helpers for Qt tests on the offscreen platform: a test main with a QApplication, and a driver that
// acts on the next modal dialog once it is shown (the code under test is then blocked in exec()).

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>

// Readable QStrings in GoogleTest's messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace mv::test {

// Acts once on the next modal widget or popup menu that appears, from the event loop of the dialog
// itself. A dialog still open 2 s after the action is closed, so a failing test cannot hang.
class NextDialog {
 public:
  explicit NextDialog(std::function<void(QWidget&)> act) : act_(std::move(act)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  bool Acted() const { return acted_; }

 private:
  void Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) dialog = QApplication::activePopupWidget();
    if (dialog == nullptr || !dialog->isVisible()) return;
    timer_.stop();
    acted_ = true;
    act_(*dialog);
    QTimer::singleShot(2000, dialog, [dialog] {
      if (dialog->isVisible()) dialog->close();
    });
  }

  std::function<void(QWidget&)> act_;
  QTimer timer_;
  bool acted_ = false;
};

// Clicks the button with this object name inside `dialog`.
inline void Click(QWidget& dialog, const char* name) {
  auto* button = dialog.findChild<QAbstractButton*>(name);
  if (button != nullptr) button->click();
}

}  // namespace mv::test
