#include "option/BackgroundGreyDialog.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "option/DialogHost.h"
#include "option/LevelSlider.h"

namespace mv {

namespace {

void Paint(QFrame& swatch, int grey) {
  swatch.setStyleSheet(
      QString("QFrame#swatch { background-color: rgb(%1, %1, %1); border: 1px solid gray; }").arg(grey));
}

}  // namespace

int32_t AskBackgroundGrey() {
  QDialog dialog(HostWindow());
  dialog.setWindowTitle("背景色");
  auto* layout = new QVBoxLayout(&dialog);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("背景の明るさ (0 = 黒、255 = 白):", &dialog), 1);
  auto* swatch = new QFrame(&dialog);
  swatch->setObjectName("swatch");
  swatch->setFixedSize(48, 32);
  top->addWidget(swatch);
  layout->addLayout(top);

  QSpinBox* grey = AddLevelSlider(dialog, *layout, "grey", kDefaultBackgroundGrey,
                                  [swatch](int value) { Paint(*swatch, value); });
  Paint(*swatch, grey->value());
  AddOkCancel(dialog);
  grey->setFocus();
  grey->selectAll();

  if (dialog.exec() != QDialog::Accepted) return -1;
  return grey->value();
}

}  // namespace mv
