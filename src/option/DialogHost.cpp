#include "option/DialogHost.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QWidget>

namespace mv {

namespace {

// QApplication keeps references to argc and argv for its whole life.
int applicationArgc = 1;
char applicationName[] = "option";
char* applicationArgv[] = {applicationName, nullptr};

}  // namespace

ApplicationScope::ApplicationScope() {
  if (QApplication::instance() == nullptr)
    own_ = std::make_unique<QApplication>(applicationArgc, applicationArgv);
}

ApplicationScope::~ApplicationScope() = default;

QWidget* HostWindow() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  // Without a window manager no window is active: the program's shown main window then.
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->isVisible() && top->windowType() == Qt::Window) return top;
  }
  return nullptr;
}

QDialogButtonBox* AddOkCancel(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
  ok->setText("OK");
  ok->setObjectName("ok");
  cancel->setText("キャンセル");
  cancel->setObjectName("cancel");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (auto* layout = qobject_cast<QBoxLayout*>(dialog.layout())) layout->addWidget(buttons);
  return buttons;
}

}  // namespace mv
