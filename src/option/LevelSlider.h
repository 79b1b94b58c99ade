#pragma once
// A slider and a spin box over 0 ... 255 that follow each other, for the dialogs that ask for one
// level. The spin box is named `name`, the slider `name` + "Slider".

#include <QString>
#include <functional>

class QBoxLayout;
class QSpinBox;
class QWidget;

namespace mv {

// Adds the pair as one row of `layout`; `changed` runs with every new value (not for the first).
QSpinBox* AddLevelSlider(QWidget& owner, QBoxLayout& layout, const QString& name, int value,
                         const std::function<void(int)>& changed = {});

}  // namespace mv
