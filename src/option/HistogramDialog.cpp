#include "option/HistogramDialog.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

#include "option/DialogHost.h"
#include "option/HistogramPlot.h"
#include "option/LevelStatistics.h"

namespace mv {

namespace {

struct ChannelLook {
  Channel channel;
  const char* caption;
  const char* objectName;
  QColor colour;
};

const std::array<ChannelLook, kChannelCount> kChannelLooks = {{
    {Channel::Red, "赤", "showRed", QColor(210, 40, 40)},
    {Channel::Green, "緑", "showGreen", QColor(30, 150, 50)},
    {Channel::Blue, "青", "showBlue", QColor(40, 70, 210)},
    {Channel::Luminance, "輝度", "showLuminance", QColor(90, 90, 90)},
}};

struct Choice {
  int id;
  const char* caption;
  const char* objectName;
};

// The channel shown for a selector: its own, or the luminance for all channels or the mean.
Channel ShownFor(int selector) {
  switch (selector) {
    case 1:
      return Channel::Red;
    case 2:
      return Channel::Green;
    case 3:
      return Channel::Blue;
    default:
      return Channel::Luminance;
  }
}

QString Decimal(double value) {
  return QLocale::c().toString(value, 'f', 2);
}

QButtonGroup* RadioRow(QWidget& owner, QBoxLayout& layout, std::initializer_list<Choice> choices,
                       int checked) {
  auto* group = new QButtonGroup(&owner);
  for (const Choice& choice : choices) {
    auto* button = new QRadioButton(choice.caption, &owner);
    button->setObjectName(choice.objectName);
    group->addButton(button, choice.id);
    layout.addWidget(button);
  }
  group->button(checked)->setChecked(true);
  return group;
}

QButtonGroup* RadioBox(QDialog& dialog, QBoxLayout& parent, const char* title,
                       std::initializer_list<Choice> choices, int checked) {
  auto* box = new QGroupBox(title, &dialog);
  auto* layout = new QVBoxLayout(box);
  QButtonGroup* group = RadioRow(*box, *layout, choices, checked);
  parent.addWidget(box);
  return group;
}

class HistogramDialog {
 public:
  HistogramDialog(HistogramDialogKind kind, const ChannelHistograms& histograms)
      : kind_(kind), histograms_(histograms), dialog_(HostWindow()) {
    static const char* const kTitles[] = {"ヒストグラム", "輝度の伸縮", "指定範囲の画素を表示"};
    dialog_.setWindowTitle(kTitles[static_cast<int>(kind)]);
    auto* layout = new QVBoxLayout(&dialog_);
    AddDisplayChoices(*layout);
    plot_ = new HistogramPlot(&dialog_);
    layout->addWidget(plot_, 1);
    AddStatistics(*layout);
    if (kind_ != HistogramDialogKind::View) AddRangeControls(*layout);
    AddButtons();
    ShowChannel();
  }

  std::optional<HistogramChoice> Run() {
    if (dialog_.exec() != QDialog::Accepted || kind_ == HistogramDialogKind::View) return std::nullopt;
    return HistogramChoice{low_->value(), high_->value(), selector_->checkedId(), fourth_->checkedId()};
  }

 private:
  void AddDisplayChoices(QVBoxLayout& layout) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("表示:", &dialog_));
    shown_ = new QButtonGroup(&dialog_);
    for (const ChannelLook& look : kChannelLooks) {
      auto* button = new QRadioButton(look.caption, &dialog_);
      button->setObjectName(look.objectName);
      shown_->addButton(button, static_cast<int>(look.channel));
    }
    for (QAbstractButton* button : shown_->buttons()) row->addWidget(button);
    shown_->button(static_cast<int>(Channel::Luminance))->setChecked(true);
    row->addSpacing(24);
    row->addWidget(new QLabel("縦軸:", &dialog_));
    scale_ = RadioRow(dialog_, *row, {{0, "線形", "linear"}, {1, "対数", "logarithmic"}}, 0);
    row->addStretch(1);
    layout.addLayout(row);
    QObject::connect(shown_, &QButtonGroup::idClicked, [this] { ShowChannel(); });
    QObject::connect(scale_, &QButtonGroup::idClicked, [this](int id) { plot_->SetLogarithmic(id == 1); });
  }

  QLabel* Figure(QGridLayout& grid, int row, int column, const char* caption, const char* name) {
    grid.addWidget(new QLabel(caption, &dialog_), row, column);
    auto* value = new QLabel(&dialog_);
    value->setObjectName(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(80);
    grid.addWidget(value, row, column + 1);
    return value;
  }

  void AddStatistics(QVBoxLayout& layout) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    pixels_ = Figure(*grid, 0, 0, "画素数:", "pixels");
    mean_ = Figure(*grid, 0, 2, "平均:", "mean");
    deviation_ = Figure(*grid, 0, 4, "標準偏差:", "deviation");
    median_ = Figure(*grid, 1, 0, "中央値:", "median");
    minimum_ = Figure(*grid, 1, 2, "最小:", "minimum");
    maximum_ = Figure(*grid, 1, 4, "最大:", "maximum");
    grid->setColumnStretch(6, 1);
    layout.addLayout(grid);
    pointed_ = new QLabel(&dialog_);
    pointed_->setObjectName("pointed");
    layout.addWidget(pointed_);
    plot_->onPointed = [this](int level) { ShowPointed(level); };
    ShowPointed(-1);
  }

  void AddRangeControls(QVBoxLayout& layout) {
    plot_->ShowMarkers(true);
    auto* bounds = new QHBoxLayout;
    low_ = Bound(*bounds, "下限:", "low", 0);
    high_ = Bound(*bounds, "上限:", "high", 255);
    auto* fit = new QPushButton("最小～最大に合わせる", &dialog_);
    fit->setObjectName("fitRange");
    fit->setAutoDefault(false);
    bounds->addWidget(fit);
    bounds->addSpacing(12);
    inRange_ = new QLabel(&dialog_);
    inRange_->setObjectName("inRange");
    bounds->addWidget(inRange_, 1);
    layout.addLayout(bounds);

    auto* choices = new QHBoxLayout;
    if (kind_ == HistogramDialogKind::Stretch) {
      selector_ = RadioBox(dialog_, *choices, "対象",
                           {{1, "赤", "channelRed"},
                            {2, "緑", "channelGreen"},
                            {3, "青", "channelBlue"},
                            {kAllChannels, "全チャンネル", "channelAll"}},
                           kAllChannels);
      fourth_ = RadioBox(dialog_, *choices, "操作",
                         {{kStretchOperation, "伸張（下限～上限を 0～255 に）", "stretch"},
                          {kSqueezeOperation, "圧縮（0～255 を下限～上限に）", "squeeze"}},
                         kStretchOperation);
    } else {
      selector_ = RadioBox(dialog_, *choices, "判定に使う値",
                           {{1, "赤", "testRed"},
                            {2, "緑", "testGreen"},
                            {3, "青", "testBlue"},
                            {kAllChannels, "RGBの平均", "testMean"}},
                           kAllChannels);
      fourth_ = RadioBox(dialog_, *choices, "範囲外の画素",
                         {{kFillBlack, "黒にする", "fillBlack"}, {kFillWhite, "白にする", "fillWhite"}},
                         kFillBlack);
    }
    layout.addLayout(choices);
    refusal_ = new QLabel("下限と上限が同じ値では伸張できません", &dialog_);
    refusal_->setObjectName("refusal");
    refusal_->setStyleSheet("color: #c00000;");
    layout.addWidget(refusal_);

    QObject::connect(low_, &QSpinBox::valueChanged, [this](int low) {
      if (low > high_->value()) high_->setValue(low);
      RangeChanged();
    });
    QObject::connect(high_, &QSpinBox::valueChanged, [this](int high) {
      if (high < low_->value()) low_->setValue(high);
      RangeChanged();
    });
    plot_->onRangeDragged = [this](int low, int high) { SetRange(low, high); };
    QObject::connect(fit, &QPushButton::clicked, [this] {
      const LevelStatistics s = StatisticsOf(histograms_.Of(ShownChannel()));
      SetRange(s.minimum, s.maximum);
    });
    QObject::connect(selector_, &QButtonGroup::idClicked, [this](int selector) {
      shown_->button(static_cast<int>(ShownFor(selector)))->setChecked(true);
      ShowChannel();
    });
    QObject::connect(fourth_, &QButtonGroup::idClicked, [this] { RangeChanged(); });
  }

  QSpinBox* Bound(QHBoxLayout& row, const char* caption, const char* name, int value) {
    row.addWidget(new QLabel(caption, &dialog_));
    auto* box = new QSpinBox(&dialog_);
    box->setObjectName(name);
    box->setRange(0, 255);
    box->setValue(value);
    row.addWidget(box);
    return box;
  }

  void AddButtons() {
    if (kind_ != HistogramDialogKind::View) {
      ok_ = AddOkCancel(dialog_)->button(QDialogButtonBox::Ok);
      return;
    }
    auto* buttons = new QDialogButtonBox(&dialog_);
    QPushButton* close = buttons->addButton("閉じる", QDialogButtonBox::RejectRole);
    close->setObjectName("close");
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog_, &QDialog::reject);
    dialog_.layout()->addWidget(buttons);
  }

  Channel ShownChannel() const { return static_cast<Channel>(shown_->checkedId()); }

  void SetRange(int low, int high) {
    // Both first, so that neither box pushes the other on the way.
    const QSignalBlocker blockLow(low_), blockHigh(high_);
    low_->setValue(low);
    high_->setValue(high);
    RangeChanged();
  }

  void RangeChanged() {
    plot_->SetRange(low_->value(), high_->value());
    ShowInRange();
    const bool refused = kind_ == HistogramDialogKind::Stretch && fourth_->checkedId() == kStretchOperation &&
                         low_->value() == high_->value();
    refusal_->setVisible(refused);
    ok_->setEnabled(!refused);
  }

  void ShowChannel() {
    const LevelCounts& counts = histograms_.Of(ShownChannel());
    plot_->SetCounts(counts, kChannelLooks[static_cast<int>(ShownChannel())].colour);
    const LevelStatistics s = StatisticsOf(counts);
    pixels_->setText(QString::number(s.pixels));
    mean_->setText(Decimal(s.mean));
    deviation_->setText(Decimal(s.deviation));
    median_->setText(QString::number(s.median));
    minimum_->setText(QString::number(s.minimum));
    maximum_->setText(QString::number(s.maximum));
    if (kind_ != HistogramDialogKind::View) RangeChanged();
  }

  void ShowPointed(int level) {
    if (level < 0) {
      pointed_->setText("グラフを指すと、そのレベルの画素数を表示します");
      return;
    }
    pointed_->setText(QString("レベル %1: %2 画素").arg(level).arg(histograms_.Of(ShownChannel())[level]));
  }

  void ShowInRange() {
    const LevelCounts& counts = histograms_.Of(ShownChannel());
    const uint64_t inside = PixelsBetween(counts, low_->value(), high_->value());
    const uint64_t all = StatisticsOf(counts).pixels;
    const double share = all > 0 ? 100.0 * static_cast<double>(inside) / static_cast<double>(all) : 0.0;
    inRange_->setText(QString("範囲内（%1）: %2 画素 (%3 %)")
                          .arg(kChannelLooks[static_cast<int>(ShownChannel())].caption)
                          .arg(inside)
                          .arg(QLocale::c().toString(share, 'f', 1)));
  }

  HistogramDialogKind kind_;
  const ChannelHistograms& histograms_;
  QDialog dialog_;
  HistogramPlot* plot_ = nullptr;
  QButtonGroup* shown_ = nullptr;
  QButtonGroup* scale_ = nullptr;
  QLabel *pixels_ = nullptr, *mean_ = nullptr, *deviation_ = nullptr, *median_ = nullptr;
  QLabel *minimum_ = nullptr, *maximum_ = nullptr, *pointed_ = nullptr, *inRange_ = nullptr;
  QSpinBox *low_ = nullptr, *high_ = nullptr;
  QButtonGroup *selector_ = nullptr, *fourth_ = nullptr;
  QLabel* refusal_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace

std::optional<HistogramChoice> AskHistogram(HistogramDialogKind kind, const ChannelHistograms& histograms) {
  HistogramDialog dialog(kind, histograms);
  return dialog.Run();
}

}  // namespace mv
