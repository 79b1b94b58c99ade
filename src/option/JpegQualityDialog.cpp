#include "option/JpegQualityDialog.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <exception>

#include "option/DialogHost.h"
#include "option/JpegSizeEstimate.h"

namespace mv {

namespace {

// The quality confirmed last. The library stays mapped once loaded, so this lasts for the run of
// the program, as the dialog's starting value should; it is not a setting.
int32_t& LastQuality() {
  static int32_t quality = kDefaultJpegQuality;
  return quality;
}

QString Size(uint64_t bytes) {
  const QLocale c = QLocale::c();
  if (bytes < 1024) return QString("%1 バイト").arg(bytes);
  if (bytes < 1024 * 1024) return c.toString(bytes / 1024.0, 'f', 1) + " KB";
  return c.toString(bytes / (1024.0 * 1024.0), 'f', 2) + " MB";
}

QString EstimateText(JpegSizeEstimate& estimate, int quality) {
  try {
    const QString size = Size(estimate.BytesAt(quality));
    return estimate.IsExact() ? "ファイルサイズ: " + size : "推定ファイルサイズ: 約 " + size;
  } catch (const std::exception&) {
    return "ファイルサイズを推定できませんでした";
  }
}

}  // namespace

int32_t AskJpegQuality(JpegSizeEstimate* estimate) {
  QDialog dialog(HostWindow());
  dialog.setWindowTitle("JPEG 画質");
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel("画質 (1〜100、大きいほど高画質でファイルが大きくなります):", &dialog));

  auto* row = new QHBoxLayout;
  auto* slider = new QSlider(Qt::Horizontal, &dialog);
  slider->setObjectName("qualitySlider");
  slider->setRange(1, 100);
  slider->setPageStep(10);
  slider->setMinimumWidth(240);
  auto* spin = new QSpinBox(&dialog);
  spin->setObjectName("quality");
  spin->setRange(1, 100);
  row->addWidget(new QLabel("低", &dialog));
  row->addWidget(slider, 1);
  row->addWidget(new QLabel("高", &dialog));
  row->addWidget(spin);
  layout->addLayout(row);

  QLabel* size = nullptr;
  if (estimate != nullptr) {
    size = new QLabel(&dialog);
    size->setObjectName("estimate");
    layout->addWidget(size);
  }
  const auto show = [&](int quality) {
    if (size != nullptr) size->setText(EstimateText(*estimate, quality));
  };
  QObject::connect(slider, &QSlider::valueChanged, spin, &QSpinBox::setValue);
  QObject::connect(spin, &QSpinBox::valueChanged, slider, &QSlider::setValue);
  QObject::connect(spin, &QSpinBox::valueChanged, show);
  spin->setValue(LastQuality());
  show(spin->value());
  AddOkCancel(dialog);
  spin->setFocus();
  spin->selectAll();

  if (dialog.exec() != QDialog::Accepted) return 0;
  LastQuality() = spin->value();
  return spin->value();
}

}  // namespace mv
