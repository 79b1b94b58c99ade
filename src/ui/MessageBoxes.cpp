#include "ui/MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <array>

namespace mv {

namespace {

struct ButtonShape {
  BoxButton button;
  QMessageBox::StandardButton standard;
  const char* caption;
};

// In the order a Windows box places them.
constexpr std::array<ButtonShape, 5> kButtons = {{{kYes, QMessageBox::Yes, "はい(&Y)"},
                                                  {kNo, QMessageBox::No, "いいえ(&N)"},
                                                  {kOK, QMessageBox::Ok, "OK"},
                                                  {kCancel, QMessageBox::Cancel, "キャンセル"},
                                                  {kHelp, QMessageBox::Help, "ヘルプ(&H)"}}};

QMessageBox::Icon IconOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Error:
      return QMessageBox::Critical;
    case BoxKind::Warning:
      return QMessageBox::Warning;
    case BoxKind::Information:
      return QMessageBox::Information;
    case BoxKind::Confirmation:
      return QMessageBox::Question;
    case BoxKind::Plain:
      break;
  }
  return QMessageBox::NoIcon;
}

// The button Esc presses: Cancel, else No, else OK (a box with only Yes has none).
BoxButton EscapeButton(BoxButtons buttons) {
  for (const BoxButton candidate : {kCancel, kNo, kOK}) {
    if ((buttons & candidate) != 0) return candidate;
  }
  return BoxButton{};
}

}  // namespace

BoxButton RunMessageBox(QWidget* parent, BoxKind kind, const std::string& text, BoxButtons buttons,
                        const std::function<void()>& help) {
  if ((buttons & ~kHelp) == 0) buttons |= kOK;  // a box the user could not leave is given OK
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  QMessageBox box(IconOf(kind), "mirvane", shown, QMessageBox::NoButton, parent);
  box.setObjectName("messageBox");
  box.setTextFormat(Qt::PlainText);
  const BoxButton escape = EscapeButton(buttons);
  bool first = true;
  for (const ButtonShape& shape : kButtons) {
    if ((buttons & shape.button) == 0) continue;
    QPushButton* button = box.addButton(shape.standard);
    button->setText(QString::fromUtf8(shape.caption));
    if (first && shape.button != kHelp) box.setDefaultButton(button);
    if (shape.button != kHelp) first = false;
    if (shape.button == escape) box.setEscapeButton(button);
  }
  for (;;) {
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    if (clicked == QMessageBox::Help) {
      if (help) help();
      continue;
    }
    for (const ButtonShape& shape : kButtons) {
      if (shape.standard == clicked && (buttons & shape.button) != 0) return shape.button;
    }
    return escape != BoxButton{} ? escape : kOK;
  }
}

}  // namespace mv
