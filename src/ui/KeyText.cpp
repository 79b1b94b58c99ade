#include "ui/KeyText.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace mv {

std::string KeyText(const QKeyEvent& event) {
  const int key = event.key();
  switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_unknown:
    case 0:
      return {};
    default:
      break;
  }
  const QString name = QKeySequence(key).toString(QKeySequence::PortableText);
  if (name.isEmpty()) return {};
  std::string text;
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (modifiers & Qt::ControlModifier) text += "Ctrl+";
  if (modifiers & Qt::ShiftModifier) text += "Shift+";
  if (modifiers & Qt::AltModifier) text += "Alt+";
  return text + name.toStdString();
}

}  // namespace mv
