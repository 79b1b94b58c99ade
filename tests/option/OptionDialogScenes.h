#pragma once
// Poses for the option library's dialogs in pictures of them: each sets a shown dialog's fields to
// a representative state. Used by option_screenshots, and meant as the `fill` step of the window's
// screenshot tour (tests/ui/ScreenshotTour.cpp) once the commands that open these dialogs exist.

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>

namespace mv::scenes {

inline void Check(QWidget& dialog, const char* name) {
  if (auto* button = dialog.findChild<QRadioButton*>(name)) button->click();
}

inline void SetSpin(QWidget& dialog, const char* name, int value) {
  if (auto* box = dialog.findChild<QSpinBox*>(name)) box->setValue(value);
}

// The pointer over a level of the histogram plot, so the dialog shows that level's count.
inline void PointAtLevel(QWidget& dialog, int level) {
  QWidget* plot = dialog.findChild<QWidget*>("plot");
  if (plot == nullptr) return;
  const QRect area = plot->property("barArea").toRect();
  const QPointF at(area.left() + (2 * level + 1) * area.width() / 512.0, area.center().y());
  QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(plot, &move);
}

// ShowHistgram: the luminance with logarithmic counts, a level pointed at.
inline void PoseHistogram(QWidget& dialog) {
  Check(dialog, "logarithmic");
  PointAtLevel(dialog, 218);
}

// GetHistgramHiLow: stretching 40 ... 210 on all channels.
inline void PoseStretch(QWidget& dialog) {
  SetSpin(dialog, "high", 210);
  SetSpin(dialog, "low", 40);
}

// GetHistgramRange: green 0 ... 235, the rest painted white (the lower mark at the graph's left end,
// where its label has no room on its usual side).
inline void PoseRange(QWidget& dialog) {
  Check(dialog, "testGreen");
  Check(dialog, "fillWhite");
  SetSpin(dialog, "high", 235);
  SetSpin(dialog, "low", 0);
}

// ShowCustomFilter: the sharpening preset under a name of the user's.
inline void PoseCustomFilter(QWidget& dialog) {
  if (auto* presets = dialog.findChild<QComboBox*>("preset")) {
    const int sharpen = presets->findText("シャープ");
    presets->setCurrentIndex(sharpen);
    emit presets->activated(sharpen);
  }
  if (auto* name = dialog.findChild<QLineEdit*>("name")) name->setText("細胞の輪郭");
}

inline void PoseQuality(QWidget& dialog) {
  SetSpin(dialog, "quality", 85);
}
inline void PoseOpacity(QWidget& dialog) {
  SetSpin(dialog, "opacity", 160);
}
inline void PoseBackground(QWidget& dialog) {
  SetSpin(dialog, "grey", 200);
}

}  // namespace mv::scenes
