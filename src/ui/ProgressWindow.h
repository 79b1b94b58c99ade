#pragma once
// The progress dialog TForm3 as a widget over its model: caption, ProgressBar1 and the Cancel button
// BitBtn1 at their places in a 234 × 79 client area, modeless, always on top, centred on the main
// window. Cancel, Esc and the close box call the model's BitBtn1Click; the pointer over the body
// and over the button reaches the model's mouse-move handlers, which set the cursors.

#include <QDialog>

class QProgressBar;
class QPushButton;

namespace mv {

class TForm3;

class ProgressWindow : public QDialog {
 public:
  ProgressWindow(TForm3& model, QWidget* mainWindow);
  // Caption, range and position from the model.
  void ShowModel();
  // Shows the dialog over the centre of the main window.
  void Open();
  // The model is going away: input still queued for the widget reaches nothing.
  void Detach() { model_ = nullptr; }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  TForm3* model_;
  QProgressBar* bar_;
  QPushButton* cancel_;
};

}  // namespace mv
