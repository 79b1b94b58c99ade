#pragma once
// The option-and-preview dialog TPNGOpt as a widget over its model: the thumbnail on the left, the
// controls the mode shows stacked on the right (sliders with captions, read-outs and end words, the
// radio groups, the colour panel, the gamma entry and the time box), OK, Cancel and Help below.
// A moved slider updates its read-out at once; the preview is recomputed once the events queued
// behind the move have been handled, so a burst of moves costs one preview and the slider follows
// the mouse.

#include <QDialog>

class QLabel;
class QLineEdit;
class QCheckBox;
class QPushButton;

namespace mv {

class TPNGOpt;
class PreviewImage;

class OptionDialog : public QDialog {
 public:
  OptionDialog(TPNGOpt& model, QWidget* parent);
  // Runs the dialog modally; true when it closed with OK.
  bool Run();
  // The preview as the model has it now (the tests call it instead of waiting for the event loop).
  void ShowPreview();

 private:
  void BuildSlider(int which, int& top);
  void BuildRadioGroup(int which, int& top);
  void BuildPanel(int& top);
  void BuildGamma(int& top);
  void ShowReadOuts();
  void ShowPanel();
  void PreviewLater();

  TPNGOpt& model_;
  PreviewImage* image_ = nullptr;
  QLabel* readOut_[2] = {nullptr, nullptr};
  QPushButton* panel_ = nullptr;
  bool previewQueued_ = false;
};

}  // namespace mv
