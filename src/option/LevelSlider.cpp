#include "option/LevelSlider.h"

#include <QBoxLayout>
#include <QSlider>
#include <QSpinBox>

namespace mv {

QSpinBox* AddLevelSlider(QWidget& owner, QBoxLayout& layout, const QString& name, int value,
                         const std::function<void(int)>& changed) {
  auto* row = new QHBoxLayout;
  auto* slider = new QSlider(Qt::Horizontal, &owner);
  slider->setObjectName(name + "Slider");
  slider->setRange(0, 255);
  slider->setPageStep(16);
  slider->setMinimumWidth(256);
  auto* spin = new QSpinBox(&owner);
  spin->setObjectName(name);
  spin->setRange(0, 255);
  slider->setValue(value);
  spin->setValue(value);
  QObject::connect(slider, &QSlider::valueChanged, spin, &QSpinBox::setValue);
  QObject::connect(spin, &QSpinBox::valueChanged, slider, &QSlider::setValue);
  if (changed) QObject::connect(spin, &QSpinBox::valueChanged, changed);
  row->addWidget(slider, 1);
  row->addWidget(spin);
  layout.addLayout(row);
  return spin;
}

}  // namespace mv
