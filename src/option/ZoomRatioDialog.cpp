#include "option/ZoomRatioDialog.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "option/DialogHost.h"

namespace mv {

double AskZoomRatio(double current) {
  QDialog dialog(HostWindow());
  dialog.setWindowTitle("倍率指定");
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  layout->addLayout(form);

  auto* ratio = new QDoubleSpinBox(&dialog);
  ratio->setObjectName("ratio");
  ratio->setLocale(QLocale::c());  // the decimal point is '.' as everywhere in the program
  ratio->setDecimals(3);
  ratio->setRange(kSmallestZoomRatio, kLargestZoomRatio);
  ratio->setSingleStep(0.25);
  ratio->setSuffix(" 倍");
  ratio->setValue(std::isfinite(current) && current > 0
                      ? std::clamp(current, kSmallestZoomRatio, kLargestZoomRatio)
                      : 1.0);
  ratio->selectAll();
  form->addRow("表示倍率:", ratio);
  AddOkCancel(dialog);

  if (dialog.exec() != QDialog::Accepted) return 0.0;
  return ratio->value();
}

}  // namespace mv
