#include "ui/OptionDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include "optiondialog/TPNGOpt.h"
#include "ui/DialogPlacement.h"
#include "ui/PreviewImage.h"
#include "ui/UiFont.h"

namespace mv {

namespace {

constexpr int kMargin = 8;
constexpr int kColumnLeft = 2 * kMargin + TPNGOpt::kImage1Size.width;  // the controls' column
constexpr int kColumnWidth = 398 - kColumnLeft - kMargin;
constexpr int kLine = 18;
constexpr int kRadioRow = 16;  // one item a row: ten items and a second group fit beside the thumbnail

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

QLabel* Label(QWidget* parent, const char* name, const std::string& text, QRect place,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(Text(text), parent);
  label->setObjectName(name);
  label->setGeometry(place);
  label->setAlignment(alignment);
  return label;
}

}  // namespace

OptionDialog::OptionDialog(TPNGOpt& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), model_(model) {
  setObjectName("TPNGOpt");
  setFont(WindowFont());
  setWindowTitle(Text(model_.Caption()));
  setFixedSize(model_.ClientSize().width, model_.ClientSize().height);

  auto* panel3 = new QFrame(this);
  panel3->setObjectName("Panel3");
  panel3->setGeometry(kMargin, kMargin, TPNGOpt::kImage1Size.width, TPNGOpt::kImage1Size.height);
  image_ = new PreviewImage(panel3, "Image1", TPNGOpt::kImage1Size.width);
  image_->onMove = [this](QPoint p) {
    model_.Image1MouseMove({p.x(), p.y()});
    ShowPanel();
  };
  image_->onPress = [this](QPoint p) {
    model_.Image1MouseDown({p.x(), p.y()});
    ShowPanel();
    ShowPreview();
  };

  int top = kMargin;
  BuildSlider(1, top);
  BuildSlider(2, top);
  BuildRadioGroup(1, top);
  BuildRadioGroup(2, top);
  BuildPanel(top);
  BuildGamma(top);

  // OK, Cancel and Help under the thumbnail, leaving the column beside it to the mode's controls.
  const int buttonsTop = 2 * kMargin + TPNGOpt::kImage1Size.height;
  const struct {
    const char* name;
    const char* caption;
  } buttons[] = {{"BitBtn1", "OK"}, {"BitBtn2", "キャンセル"}, {"BitBtn3", "ヘルプ"}};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QPushButton(buttons[i].caption, this);
    button->setObjectName(buttons[i].name);
    button->setGeometry(kMargin + i * 71, buttonsTop, 68, 25);
    if (i == 0) {
      button->setDefault(true);
      connect(button, &QPushButton::clicked, this, [this] {
        model_.BitBtn1Click();
        accept();
      });
    } else if (i == 1) {
      connect(button, &QPushButton::clicked, this, &QDialog::reject);
    } else {
      connect(button, &QPushButton::clicked, this, [this] { model_.BitBtn3Click(); });
    }
  }
  ShowReadOuts();
  ShowPanel();
  ShowPreview();
}

void OptionDialog::BuildSlider(int which, int& top) {
  SliderControl& slider = which == 1 ? model_.TrackBar1 : model_.TrackBar2;
  if (!slider.visible) return;
  Label(this, which == 1 ? "Label3" : "Label10", slider.caption,
        QRect(kColumnLeft, top, kColumnWidth / 2, kLine));
  readOut_[which - 1] = Label(this, which == 1 ? "Label4" : "Label1", slider.readOut,
                              QRect(kColumnLeft + kColumnWidth / 2, top, kColumnWidth / 2, kLine),
                              Qt::AlignRight | Qt::AlignVCenter);
  auto* bar = new QSlider(Qt::Horizontal, this);
  bar->setObjectName(which == 1 ? "TrackBar1" : "TrackBar2");
  bar->setGeometry(kColumnLeft, top + kLine, kColumnWidth, 24);
  bar->setRange(slider.minimum, slider.maximum);
  bar->setValue(slider.position);
  bar->setTickInterval(slider.tick);
  bar->setTickPosition(QSlider::TicksBelow);
  bar->setSingleStep(1);
  bar->setPageStep(1);
  connect(bar, &QSlider::valueChanged, this, [this, which](int position) {
    if (which == 1) {
      model_.TrackBar1Change(position);
    } else {
      model_.TrackBar2Change(position);
    }
    ShowReadOuts();
    PreviewLater();
  });
  const int wordsTop = top + kLine + 24;
  Label(this, which == 1 ? "Label6" : "Label8", slider.lowWord,
        QRect(kColumnLeft, wordsTop, kColumnWidth / 2, kLine));
  Label(this, which == 1 ? "Label7" : "Label9", slider.highWord,
        QRect(kColumnLeft + kColumnWidth / 2, wordsTop, kColumnWidth / 2, kLine),
        Qt::AlignRight | Qt::AlignVCenter);
  top = wordsTop + kLine + 6;
}

void OptionDialog::BuildRadioGroup(int which, int& top) {
  RadioGroupControl& group = which == 1 ? model_.RadioGroup1 : model_.RadioGroup2;
  if (!group.visible) return;
  auto* box = new QGroupBox(Text(group.caption), this);
  box->setObjectName(which == 1 ? "RadioGroup1" : "RadioGroup2");
  box->setToolTip(Text(group.hint));
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(6, 2, 6, 2);
  grid->setVerticalSpacing(0);
  auto* buttons = new QButtonGroup(box);
  for (int i = 0; i < static_cast<int>(group.items.size()); ++i) {
    auto* item = new QRadioButton(Text(group.items[static_cast<std::size_t>(i)]), box);
    item->setFixedHeight(kRadioRow);
    item->setChecked(i == group.index);
    buttons->addButton(item, i);
    grid->addWidget(item, i, 0);
  }
  connect(buttons, &QButtonGroup::idClicked, this, [this, which](int index) {
    if (which == 1) {
      model_.RadioGroup1Click(index);
    } else {
      model_.RadioGroup2Click(index);
    }
    ShowReadOuts();
    PreviewLater();
  });
  const int height = kLine + 6 + static_cast<int>(group.items.size()) * kRadioRow;
  box->setGeometry(kColumnLeft, top, kColumnWidth, height);
  top += height + 4;
}

void OptionDialog::BuildPanel(int& top) {
  if (!model_.Panel1.visible) return;
  Label(this, "Label5", model_.Panel1.label, QRect(kColumnLeft, top, 60, 22));
  panel_ = new QPushButton(this);
  panel_->setObjectName("Panel1");
  panel_->setGeometry(kColumnLeft + 64, top, kColumnWidth - 64, 22);
  connect(panel_, &QPushButton::clicked, this, [this] {
    if (model_.Panel1Click()) {
      QMenu menu(this);
      menu.setObjectName("PopupMenu1");
      QAction* none = menu.addAction(TPNGOpt::kNone);
      none->setObjectName("N1");
      QAction* chosen = menu.addAction(TPNGOpt::kChosen);
      chosen->setObjectName("N2");
      QAction* picked = menu.exec(QCursor::pos());
      if (picked == none) model_.N1Click();
      if (picked == chosen) model_.N2Click();
    }
    ShowPanel();
    PreviewLater();
  });
  top += 28;
}

void OptionDialog::BuildGamma(int& top) {
  if (model_.Edit3Visible) {
    Label(this, "Label2", model_.Label2, QRect(kColumnLeft, top, 60, 22));
    auto* edit = new QLineEdit(Text(model_.Edit3Text), this);
    edit->setObjectName("Edit3");
    edit->setToolTip(Text(model_.Edit3Hint));
    edit->setGeometry(kColumnLeft + 64, top, kColumnWidth - 64, 22);
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { model_.SetGammaText(text.toStdString()); });
    top += 28;
  }
  if (model_.CheckBox2Visible) {
    auto* check = new QCheckBox(Text(model_.CheckBox2Caption), this);
    check->setObjectName("CheckBox2");
    check->setChecked(model_.CheckBox2Checked);
    check->setGeometry(kColumnLeft, top, kColumnWidth, 22);
    connect(check, &QCheckBox::toggled, this, [this](bool checked) { model_.SetWriteTime(checked); });
    top += 26;
  }
}

void OptionDialog::ShowReadOuts() {
  if (readOut_[0] != nullptr) readOut_[0]->setText(Text(model_.TrackBar1.readOut));
  if (readOut_[1] != nullptr) readOut_[1]->setText(Text(model_.TrackBar2.readOut));
}

void OptionDialog::ShowPanel() {
  if (panel_ == nullptr) return;
  panel_->setText(Text(model_.Panel1.caption));
  if (model_.Panel1.colour) {
    const ColorRef c = *model_.Panel1.colour;
    const QColor colour(RedOf(c), GreenOf(c), BlueOf(c));
    const QColor text = colour.lightness() < 128 ? Qt::white : Qt::black;
    panel_->setStyleSheet(QString("background-color: %1; color: %2;").arg(colour.name(), text.name()));
  } else {
    panel_->setStyleSheet({});
  }
}

void OptionDialog::PreviewLater() {
  if (previewQueued_) return;
  previewQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    previewQueued_ = false;
    ShowPreview();
  });
}

void OptionDialog::ShowPreview() {
  model_.UpdatePreview();
  image_->SetPicture(model_.Image1(), model_.TransparentColour());
}

bool OptionDialog::Run() {
  CentreOverParent(*this);
  return exec() == QDialog::Accepted;
}

}  // namespace mv
