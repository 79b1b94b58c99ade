#pragma once
// The side bar pn2: seven buttons, the line-colour caption Label2 "線" in the line colour, and the
// twelve 10 × 10 colour panels at their positions (each 8 pixels below the one before, so the next
// panel covers its lower edge).

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "shell/FormControls.h"

class QLabel;
class QToolButton;

namespace mv {

class ColorPanelWidget : public QWidget {
 public:
  ColorPanelWidget(const ColorPanel& model, std::function<void()> clicked, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QColor color_;
  std::function<void()> clicked_;
};

class SideBar : public QWidget {
 public:
  // `clicked` gets the component name of the button or colour panel.
  SideBar(const FormControls& controls, std::function<void(const std::string&)> clicked, QWidget* parent);
  void Show(const FormControls& controls);

  static constexpr int kButtonLeft = 1;
  static constexpr int kButtonTop = 2;
  static constexpr int kButtonPitch = 26;
  static constexpr int kLabel2Top = 184;
  static constexpr int kPanelSize = 10;

 private:
  QLabel* label2_;
  std::vector<QToolButton*> buttons_;
};

}  // namespace mv
