#include "ui/ProgressWindow.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

#include "shell/TForm3.h"
#include "ui/BarIcons.h"

namespace mv {

namespace {

QRect ToQRect(const Rect& rect) {
  return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

}  // namespace

ProgressWindow::ProgressWindow(TForm3& model, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      model_(&model) {
  setObjectName("TForm3");
  setModal(false);
  setFixedSize(TForm3::kClientSize.width, TForm3::kClientSize.height);
  setMouseTracking(true);

  bar_ = new QProgressBar(this);
  bar_->setObjectName("ProgressBar1");
  bar_->setGeometry(ToQRect(TForm3::kProgressBar1));
  bar_->setTextVisible(false);

  cancel_ = new QPushButton(BarIcon("Cancel"), "キャンセル", this);
  cancel_->setObjectName("BitBtn1");
  cancel_->setGeometry(ToQRect(TForm3::kBitBtn1));
  cancel_->setMouseTracking(true);
  cancel_->installEventFilter(this);
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (model_ != nullptr) model_->BitBtn1Click();
  });
  ShowModel();
}

void ProgressWindow::ShowModel() {
  if (model_ == nullptr) return;
  setWindowTitle(QString::fromStdString(model_->Caption()));
  bar_->setRange(0, model_->Max());
  bar_->setValue(model_->Position());
}

void ProgressWindow::Open() {
  if (QWidget* main = parentWidget()) {
    const QPoint centre = main->frameGeometry().center();
    move(centre.x() - width() / 2, centre.y() - height() / 2);
  }
  show();
  cancel_->setFocus();
}

void ProgressWindow::mouseMoveEvent(QMouseEvent*) {
  if (model_ != nullptr) model_->FormMouseMove();
}

bool ProgressWindow::eventFilter(QObject* watched, QEvent* event) {
  if (model_ != nullptr && watched == cancel_ &&
      (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter))
    model_->BitBtn1MouseMove();
  return QDialog::eventFilter(watched, event);
}

// Esc.
void ProgressWindow::reject() {
  if (model_ != nullptr) model_->BitBtn1Click();
}

// The close box hides the dialog as Cancel does.
void ProgressWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (model_ != nullptr) model_->BitBtn1Click();
}

}  // namespace mv
