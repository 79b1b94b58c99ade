#include "option/PointSizeDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "option/DialogHost.h"

namespace mv {

bool PointSizeArgumentsValid(PointOrSize imageSize, int32_t mode) {
  if (mode == kPointEntry) return imageSize.x >= 0 && imageSize.y >= 0;
  if (mode == kSizeEntry) return imageSize.x >= 1 && imageSize.y >= 1;
  return false;
}

int32_t KeptRatioSide(int32_t newSide, int32_t oldSide, int32_t oldOther) {
  if (oldSide <= 0) return std::clamp(oldOther, 1, kLargestSide);
  const double other = std::round(static_cast<double>(newSide) * oldOther / oldSide);
  return static_cast<int32_t>(std::clamp(other, 1.0, static_cast<double>(kLargestSide)));
}

namespace {

QSpinBox* SpinBox(QDialog& dialog, const char* name, int32_t minimum, int32_t maximum, int32_t value) {
  auto* box = new QSpinBox(&dialog);
  box->setObjectName(name);
  box->setRange(minimum, maximum);
  box->setValue(value);
  return box;
}

std::optional<PointOrSize> AskPoint(QDialog& dialog, QVBoxLayout& layout, PointOrSize imageSize) {
  dialog.setWindowTitle("座標入力");
  layout.addWidget(new QLabel(
      QString("画像上の座標を入力してください (0〜%1, 0〜%2)").arg(imageSize.x).arg(imageSize.y), &dialog));
  auto* form = new QFormLayout;
  layout.addLayout(form);
  QSpinBox* x = SpinBox(dialog, "x", 0, imageSize.x, 0);
  QSpinBox* y = SpinBox(dialog, "y", 0, imageSize.y, 0);
  form->addRow("X:", x);
  form->addRow("Y:", y);
  AddOkCancel(dialog);
  x->setFocus();
  x->selectAll();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return PointOrSize{x->value(), y->value()};
}

std::optional<PointOrSize> AskSize(QDialog& dialog, QVBoxLayout& layout, PointOrSize imageSize) {
  dialog.setWindowTitle("画像のサイズ変更");
  layout.addWidget(new QLabel(QString("現在のサイズ: %1 x %2").arg(imageSize.x).arg(imageSize.y), &dialog));
  auto* form = new QFormLayout;
  layout.addLayout(form);
  QSpinBox* width = SpinBox(dialog, "width", 1, kLargestSide, std::min(imageSize.x, kLargestSide));
  QSpinBox* height = SpinBox(dialog, "height", 1, kLargestSide, std::min(imageSize.y, kLargestSide));
  auto* keepRatio = new QCheckBox("縦横比を保つ", &dialog);
  keepRatio->setObjectName("keepRatio");
  keepRatio->setChecked(true);
  form->addRow("幅:", width);
  form->addRow("高さ:", height);
  form->addRow(keepRatio);
  QObject::connect(width, &QSpinBox::valueChanged, &dialog, [=](int value) {
    if (!keepRatio->isChecked()) return;
    const QSignalBlocker quiet(height);
    height->setValue(KeptRatioSide(value, imageSize.x, imageSize.y));
  });
  QObject::connect(height, &QSpinBox::valueChanged, &dialog, [=](int value) {
    if (!keepRatio->isChecked()) return;
    const QSignalBlocker quiet(width);
    width->setValue(KeptRatioSide(value, imageSize.y, imageSize.x));
  });
  AddOkCancel(dialog);
  width->setFocus();
  width->selectAll();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return PointOrSize{width->value(), height->value()};
}

}  // namespace

std::optional<PointOrSize> AskPointOrSize(PointOrSize imageSize, int32_t mode) {
  QDialog dialog(HostWindow());
  auto* layout = new QVBoxLayout(&dialog);
  return mode == kPointEntry ? AskPoint(dialog, *layout, imageSize) : AskSize(dialog, *layout, imageSize);
}

}  // namespace mv
