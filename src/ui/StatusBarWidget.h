#pragma once
// The status bar sb1: six sunken panels of the model's widths and alignments; the bar's tooltip is
// its hint (the current file's full path). A press anywhere hands its x position to the core.

#include <QWidget>
#include <functional>

#include "shell/FormControls.h"
#include "shell/InputTypes.h"

namespace mv {

inline constexpr int kStatusBarHeight = 19;

class StatusBarWidget : public QWidget {
 public:
  StatusBarWidget(std::function<void(int x, MouseButton button)> pressed, QWidget* parent);
  void Show(const FormControls& controls);
  const std::array<StatusPanel, 6>& Panels() const { return panels_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::function<void(int, MouseButton)> pressed_;
  std::array<StatusPanel, 6> panels_;
};

}  // namespace mv
