#include "shell/TForm3.h"

#include <algorithm>

#include "shell/Desktop.h"

namespace mv {

TForm3::TForm3(Desktop& desktop, int& openDialogs) : desktop_(desktop), openDialogs_(openDialogs) {
  ++openDialogs_;
}

TForm3::~TForm3() {
  if (visible_) desktop_.HideProgressDialog(*this);
  --openDialogs_;
}

void TForm3::Start(const std::string& caption, int maximum) {
  caption_ = caption;
  max_ = std::max(0, maximum);
  position_ = 0;
  step_ = 1;
  visible_ = true;
  desktop_.ShowProgressDialog(*this);
}

void TForm3::StepIt() {
  // The bar stops at its maximum (an operation may take one step more than its maximum).
  position_ = std::min(position_ + step_, max_);
  desktop_.UpdateProgressDialog(*this);
}

void TForm3::BitBtn1Click() {
  if (!visible_) return;
  visible_ = false;
  desktop_.HideProgressDialog(*this);
}

void TForm3::FormMouseMove() {
  desktop_.SetScreenCursor(Cursor::Hourglass);
}

void TForm3::BitBtn1MouseMove() {
  desktop_.SetScreenCursor(Cursor::Arrow);
}

}  // namespace mv
