#include "ui/RgbDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "optiondialog/TRGBRes.h"
#include "ui/DialogPlacement.h"
#include "ui/PreviewImage.h"
#include "ui/UiFont.h"

namespace mv {

namespace {

constexpr int kPicture = 152;  // 148 and the panel's border

QLabel* Label(QWidget* parent, const char* name, const QString& text, QRect place,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(place);
  label->setAlignment(alignment);
  return label;
}

}  // namespace

RgbDialog::RgbDialog(TRGBRes& model, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      model_(model) {
  setObjectName("TRGBRes");
  setFont(WindowFont());
  setWindowTitle(TRGBRes::kCaption);
  setFixedSize(TRGBRes::kClientSize.width, TRGBRes::kClientSize.height);

  // The combined preview top left, the channel views beside and below it, each under its caption.
  const struct {
    const char* image;
    const char* label;
    const char* caption;
    int left, top;
  } pictures[] = {{"Image1", nullptr, "", 8, 26},
                  {"Image2", "Label2", "Ｒ", 8 + kPicture + 12, 26},
                  {"Image3", "Label3", "Ｇ", 8, 26 + kPicture + 26},
                  {"Image4", "Label4", "Ｂ", 8 + kPicture + 12, 26 + kPicture + 26}};
  for (int i = 0; i < 4; ++i) {
    const auto& p = pictures[i];
    images_[i] = new PreviewImage(this, p.image, kPicture);
    images_[i]->move(p.left, p.top);
    if (p.label != nullptr) Label(this, p.label, p.caption, QRect(p.left, p.top - 20, kPicture, 18));
  }

  const int left = 2 * kPicture + 40, width = TRGBRes::kClientSize.width - left - 8;
  Label(this, "Label7", "ＲGBのオフセット", QRect(left, 26, width, 18));
  const struct {
    const char* bar;
    const char* label;
    const char* caption;
    const char* readOut;
  } sliders[] = {{"TrackBar1", "Label1", "Ｒ", "Label8"},
                 {"TrackBar2", "Label5", "Ｇ", "Label9"},
                 {"TrackBar3", "Label6", "Ｂ", "Label10"}};
  for (int c = 0; c < 3; ++c) {
    const int top = 56 + 64 * c;
    Label(this, sliders[c].label, sliders[c].caption, QRect(left, top, 24, 24));
    readOuts_[c] = Label(this, sliders[c].readOut, QString::fromStdString(model_.ReadOut(c)),
                         QRect(left + width - 40, top, 40, 24), Qt::AlignRight | Qt::AlignVCenter);
    auto* bar = new QSlider(Qt::Horizontal, this);
    bar->setObjectName(sliders[c].bar);
    bar->setGeometry(left + 24, top + 24, width - 24, 24);
    bar->setRange(TRGBRes::kMinimum, TRGBRes::kMaximum);
    bar->setTickInterval(TRGBRes::kTick);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(0);
    connect(bar, &QSlider::valueChanged, this, [this, c](int position) {
      if (c == 0) model_.TrackBar1Change(position);
      if (c == 1) model_.TrackBar2Change(position);
      if (c == 2) model_.TrackBar3Change(position);
      readOuts_[c]->setText(QString::fromStdString(model_.ReadOut(c)));
      ShowLater();
    });
  }

  // OK, Cancel and Help in a row at the bottom right, under the pictures.
  const int buttonsTop = TRGBRes::kClientSize.height - 8 - 25;
  const struct {
    const char* name;
    const char* caption;
  } buttons[] = {{"BitBtn1", "OK"}, {"BitBtn2", "キャンセル"}, {"BitBtn3", "ヘルプ"}};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QPushButton(buttons[i].caption, this);
    button->setObjectName(buttons[i].name);
    button->setGeometry(TRGBRes::kClientSize.width - 8 - (3 - i) * 86 + 6, buttonsTop, 80, 25);
    if (i == 0) {
      button->setDefault(true);
      connect(button, &QPushButton::clicked, this, &QDialog::accept);
    } else if (i == 1) {
      connect(button, &QPushButton::clicked, this, &QDialog::reject);
    } else {
      connect(button, &QPushButton::clicked, this, [this] { model_.BitBtn3Click(); });
    }
  }
  ShowPictures();
}

void RgbDialog::ShowLater() {
  if (queued_) return;
  queued_ = true;
  QTimer::singleShot(0, this, [this] {
    queued_ = false;
    ShowPictures();
  });
}

void RgbDialog::ShowPictures() {
  for (int i = 0; i < 4; ++i) images_[i]->SetPicture(model_.Image(i + 1));
}

bool RgbDialog::Run() {
  CentreOverParent(*this);
  return exec() == QDialog::Accepted;
}

}  // namespace mv
