#pragma once
// The RGB decomposition dialog TRGBRes as a widget over its model: the combined preview and the red,
// green and blue views in four 148-pixel pictures, three sliders with their read-outs, OK, Cancel
// and Help. A moved slider recomputes its view and the combined preview once the events queued
// behind the move have been handled.

#include <QDialog>

class QLabel;

namespace mv {

class TRGBRes;
class PreviewImage;

class RgbDialog : public QDialog {
 public:
  RgbDialog(TRGBRes& model, QWidget* parent);
  bool Run();
  void ShowPictures();

 private:
  void ShowLater();

  TRGBRes& model_;
  PreviewImage* images_[4] = {};
  QLabel* readOuts_[3] = {};
  bool queued_ = false;
};

}  // namespace mv
