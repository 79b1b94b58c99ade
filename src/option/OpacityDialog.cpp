#include "option/OpacityDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QSpinBox>
#include <QVBoxLayout>

#include "option/DialogHost.h"
#include "option/LevelSlider.h"

namespace mv {

namespace {

// The program's main window: its shown top-level main window, if any.
QWidget* ProgramWindow() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->isVisible() && qobject_cast<QMainWindow*>(top) != nullptr) return top;
  }
  return nullptr;
}

}  // namespace

int32_t AskWindowOpacity() {
  QDialog dialog(HostWindow());
  dialog.setWindowTitle("透過モード");
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel("ウィンドウの不透明度 (0 = 透明、255 = 不透明):", &dialog));

  const QPointer<QWidget> window = ProgramWindow();
  const double before = window ? window->windowOpacity() : 1.0;
  const auto follow = [&window](int opacity) {
    if (window) window->setWindowOpacity(opacity / 255.0);
  };
  QSpinBox* opacity = AddLevelSlider(dialog, *layout, "opacity", kDefaultOpacity, follow);
  follow(opacity->value());
  AddOkCancel(dialog);
  opacity->setFocus();
  opacity->selectAll();

  if (dialog.exec() != QDialog::Accepted) {
    if (window) window->setWindowOpacity(before);
    return -1;
  }
  return opacity->value();
}

}  // namespace mv
