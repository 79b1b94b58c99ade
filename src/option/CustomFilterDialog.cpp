#include "option/CustomFilterDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <numeric>
#include <vector>

#include "option/DialogHost.h"
#include "option/FilterNameFile.h"
#include "option/FilterPreview.h"

namespace mv {

namespace {

constexpr int kWeightLimit = 99999;
constexpr int kPreviewScale = 3;

QString Hex(uint32_t code) {
  return QString("$%1").arg(code, 8, 16, QChar('0')).toUpper();
}

QPixmap Enlarged(const Bitmap& picture) {
  QImage image(picture.Width(), picture.Height(), QImage::Format_RGB888);
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* in = picture.Row(y);
    uint8_t* out = image.scanLine(y);
    for (int x = 0; x < picture.Width(); ++x) {
      out[3 * x] = in[3 * x + 2];
      out[3 * x + 1] = in[3 * x + 1];
      out[3 * x + 2] = in[3 * x];
    }
  }
  return QPixmap::fromImage(
      image.scaled(image.size() * kPreviewScale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

class CustomFilterDialog {
 public:
  explicit CustomFilterDialog(const CustomFilterSettings& offered)
      : dialog_(HostWindow()), pattern_(TestPattern()) {
    dialog_.setWindowTitle("カスタムフィルタ");
    auto* layout = new QVBoxLayout(&dialog_);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    AddPresets(*left);
    AddKernel(*left);
    AddDrawing(*left);
    columns->addLayout(left);
    AddPreview(*columns);
    layout->addLayout(columns);
    AddOkCancel(dialog_);
    Show(offered);
    ShowPreview();
  }

  std::optional<CustomFilterEntry> Run(const std::string& nameFolder) {
    if (dialog_.exec() != QDialog::Accepted) return std::nullopt;
    CustomFilterEntry entry{Settings(), name_->text().toStdString()};
    try {
      WriteFilterNameFile(nameFolder, entry.name);
    } catch (const std::exception& error) {
      QMessageBox::warning(
          dialog_.parentWidget(), "カスタムフィルタ",
          QString("フィルタの名前を書き込めませんでした。\n%1").arg(QString::fromStdString(error.what())));
    }
    return entry;
  }

 private:
  void AddPresets(QVBoxLayout& layout) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("プリセット:", &dialog_));
    presets_ = new QComboBox(&dialog_);
    presets_->setObjectName("preset");
    presets_->addItem("（選択してください）");
    for (const FilterPreset& preset : FilterPresets()) presets_->addItem(preset.name);
    row->addWidget(presets_, 1);
    layout.addLayout(row);
    QObject::connect(presets_, &QComboBox::activated, [this](int index) {
      if (index > 0) ApplyPreset(FilterPresets()[static_cast<std::size_t>(index - 1)]);
    });
  }

  void AddKernel(QVBoxLayout& layout) {
    auto* box = new QGroupBox("係数 (3×3)", &dialog_);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < 9; ++i) {
      auto* weight = new QSpinBox(box);
      weight->setObjectName(QString("w%1").arg(i));
      weight->setRange(-kWeightLimit, kWeightLimit);
      weight->setAlignment(Qt::AlignRight);
      grid->addWidget(weight, i / 3, i % 3);
      QObject::connect(weight, &QSpinBox::valueChanged, [this] { KernelChanged(); });
      weights_[static_cast<std::size_t>(i)] = weight;
    }
    layout.addWidget(box);

    auto* form = new QFormLayout;
    auto* divisorRow = new QHBoxLayout;
    divisor_ = new QDoubleSpinBox(&dialog_);
    divisor_->setObjectName("divisor");
    divisor_->setLocale(QLocale::c());
    divisor_->setDecimals(3);
    divisor_->setRange(-kWeightLimit * 9.0, kWeightLimit * 9.0);
    divisorRow->addWidget(divisor_, 1);
    auto* fromSum = new QPushButton("係数の合計", &dialog_);
    fromSum->setObjectName("divisorFromSum");
    fromSum->setAutoDefault(false);
    fromSum->setToolTip("除数を係数の合計にします（合計が 0 のときは 1）");
    divisorRow->addWidget(fromSum);
    form->addRow("除数:", divisorRow);
    offset_ = new QSpinBox(&dialog_);
    offset_->setObjectName("offset");
    offset_->setRange(-255, 255);
    form->addRow("オフセット:", offset_);
    layout.addLayout(form);
    QObject::connect(divisor_, &QDoubleSpinBox::valueChanged, [this] { KernelChanged(); });
    QObject::connect(offset_, &QSpinBox::valueChanged, [this] { KernelChanged(); });
    QObject::connect(fromSum, &QPushButton::clicked, [this] {
      const int sum = std::accumulate(weights_.begin(), weights_.end(), 0,
                                      [](int total, const QSpinBox* w) { return total + w->value(); });
      divisor_->setValue(sum != 0 ? sum : 1);
    });
  }

  void AddDrawing(QVBoxLayout& layout) {
    auto* form = new QFormLayout;
    copyMode_ = new QComboBox(&dialog_);
    copyMode_->setObjectName("copyMode");
    for (const RasterOperation& operation : RasterOperations()) {
      copyMode_->addItem(QString("%1 — %2 (%3)").arg(operation.name, operation.meaning, Hex(operation.code)),
                         QVariant::fromValue(operation.code));
    }
    form->addRow("描画モード:", copyMode_);
    QObject::connect(copyMode_, &QComboBox::currentIndexChanged, [this] { ShowPreview(); });

    auto* preparationRow = new QHBoxLayout;
    preparation_ = new QButtonGroup(&dialog_);
    const std::array<std::tuple<int, const char*, const char*>, 3> choices = {{
        {kPrepareNothing, "なし", "prepareNothing"},
        {kPrepareWhite, "白で塗りつぶす", "prepareWhite"},
        {kPrepareBlack, "黒で塗りつぶす", "prepareBlack"},
    }};
    for (const auto& [id, caption, objectName] : choices) {
      auto* button = new QRadioButton(caption, &dialog_);
      button->setObjectName(objectName);
      preparation_->addButton(button, id);
      preparationRow->addWidget(button);
    }
    form->addRow("前処理:", preparationRow);
    QObject::connect(preparation_, &QButtonGroup::idToggled, [this](int, bool on) {
      if (on) ShowPreview();
    });

    name_ = new QLineEdit(&dialog_);
    name_->setObjectName("name");
    name_->setPlaceholderText("カスタムフィルタ");
    form->addRow("名前:", name_);
    layout.addLayout(form);
  }

  void AddPreview(QHBoxLayout& columns) {
    auto* box = new QGroupBox("プレビュー（テスト画像）", &dialog_);
    auto* layout = new QGridLayout(box);
    auto* before = new QLabel(box);
    before->setObjectName("patternPreview");
    before->setPixmap(Enlarged(pattern_));
    after_ = new QLabel(box);
    after_->setObjectName("resultPreview");
    after_->setFixedSize(kPatternSide * kPreviewScale, kPatternSide * kPreviewScale);
    after_->setAlignment(Qt::AlignCenter);
    after_->setWordWrap(true);
    layout->addWidget(new QLabel("元の画像", box), 0, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel("フィルタ後", box), 0, 1, Qt::AlignHCenter);
    layout->addWidget(before, 1, 0);
    layout->addWidget(after_, 1, 1);
    layout->setRowStretch(2, 1);
    columns.addWidget(box);
  }

  void Show(const CustomFilterSettings& settings) {
    {
      std::vector<std::unique_ptr<QSignalBlocker>> blockers;
      for (QSpinBox* weight : weights_) blockers.push_back(std::make_unique<QSignalBlocker>(weight));
      for (std::size_t i = 0; i < 9; ++i) weights_[i]->setValue(settings.weights[i]);
      const QSignalBlocker blockDivisor(divisor_), blockOffset(offset_), blockCopyMode(copyMode_);
      divisor_->setValue(settings.divisor);
      offset_->setValue(settings.offset);
      int mode = copyMode_->findData(QVariant::fromValue(settings.copyMode));
      if (mode < 0) {  // a code without a name is kept as it is
        copyMode_->addItem(QString("%1 (%2)").arg("その他", Hex(settings.copyMode)),
                           QVariant::fromValue(settings.copyMode));
        mode = copyMode_->count() - 1;
      }
      copyMode_->setCurrentIndex(mode);
    }
    const QSignalBlocker blockPreparation(preparation_);
    QAbstractButton* preparation = preparation_->button(settings.preparation);
    (preparation != nullptr ? preparation : preparation_->button(kPrepareNothing))->setChecked(true);
  }

  void ApplyPreset(const FilterPreset& preset) {
    CustomFilterSettings settings = Settings();
    settings.weights = preset.weights;
    settings.divisor = preset.divisor;
    settings.offset = preset.offset;
    Show(settings);
    // The name follows the preset unless the user has named the filter.
    const QString name = name_->text();
    const bool named = !name.isEmpty() && std::none_of(FilterPresets().begin(), FilterPresets().end(),
                                                       [&](const FilterPreset& p) { return name == p.name; });
    if (!named) name_->setText(preset.name);
    ShowPreview();
  }

  CustomFilterSettings Settings() const {
    CustomFilterSettings settings;
    for (std::size_t i = 0; i < 9; ++i) settings.weights[i] = weights_[i]->value();
    settings.divisor = divisor_->value();
    settings.offset = offset_->value();
    settings.copyMode = copyMode_->currentData().value<uint32_t>();
    settings.preparation = preparation_->checkedId() >= 0 ? preparation_->checkedId() : kPrepareNothing;
    return settings;
  }

  // An edited kernel is no longer the preset chosen.
  void KernelChanged() {
    presets_->setCurrentIndex(0);
    ShowPreview();
  }

  void ShowPreview() {
    const CustomFilterSettings settings = Settings();
    if (settings.divisor == 0) {
      after_->setText("除数が 0 です\n（実行するとフィルタ処理は失敗します）");
      return;
    }
    const FilterPreview preview = PreviewCustomFilter(pattern_, settings);
    if (preview.picture.IsEmpty())
      after_->setText(QString("計算できません:\n%1").arg(QString::fromStdString(preview.failure)));
    else
      after_->setPixmap(Enlarged(preview.picture));
  }

  QDialog dialog_;
  Bitmap pattern_;
  QComboBox* presets_ = nullptr;
  std::array<QSpinBox*, 9> weights_{};
  QDoubleSpinBox* divisor_ = nullptr;
  QSpinBox* offset_ = nullptr;
  QComboBox* copyMode_ = nullptr;
  QButtonGroup* preparation_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLabel* after_ = nullptr;
};

}  // namespace

std::optional<CustomFilterEntry> AskCustomFilter(const CustomFilterSettings& offered,
                                                 const std::string& nameFolder) {
  CustomFilterDialog dialog(offered);
  return dialog.Run(nameFolder);
}

}  // namespace mv
