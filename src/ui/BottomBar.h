#pragma once
// The bottom bar pn1: the message line Label1 and the six buttons kept to the right edge.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "shell/FormControls.h"

class QLabel;
class QToolButton;

namespace mv {

inline constexpr int kBottomBarHeight = 26;

class BottomBar : public QWidget {
 public:
  // `clicked` gets the button's component name.
  BottomBar(const FormControls& controls, std::function<void(const std::string&)> clicked, QWidget* parent);
  void Show(const FormControls& controls);

 private:
  QLabel* label1_;
  std::vector<QToolButton*> buttons_;
};

}  // namespace mv
