#pragma once
// The font of the window and its dialogs: "ＭＳ Ｐゴシック" where it is installed, else the metric-
// compatible IPAPGothic, else any family that writes Japanese; 12 pixels high.

#include <QFont>

namespace mv {

QFont WindowFont();

}  // namespace mv
