#include "option/LengthUnitDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "option/DialogHost.h"

namespace mv {

namespace {

// The shortest text that reads back as `value`, with '.' as the decimal point.
QString LengthText(double value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error != std::errc()) return {};
  return QString::fromLatin1(buffer, static_cast<int>(end - buffer));
}

}  // namespace

std::optional<double> ParseLength(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(" \t");
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  double value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

std::optional<LengthEntry> AskLengthAndUnit(double length, int32_t unitIndex) {
  QDialog dialog(HostWindow());
  dialog.setWindowTitle("単位長さの指定");
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel("クリックした2点間の実際の長さを入力してください", &dialog));
  auto* form = new QFormLayout;
  layout->addLayout(form);

  auto* lengthField = new QLineEdit(&dialog);
  lengthField->setObjectName("length");
  if (std::isfinite(length) && length > 0) lengthField->setText(LengthText(length));
  form->addRow("長さ:", lengthField);

  auto* unit = new QComboBox(&dialog);
  unit->setObjectName("unit");
  for (const char* name : kLengthUnits) unit->addItem(QString::fromUtf8(name));
  unit->setCurrentIndex(unitIndex >= 0 && unitIndex < static_cast<int32_t>(kLengthUnits.size()) ? unitIndex
                                                                                                : 0);
  form->addRow("単位:", unit);

  QPushButton* ok = AddOkCancel(dialog)->button(QDialogButtonBox::Ok);
  const auto enableOk = [&] { ok->setEnabled(ParseLength(lengthField->text().toStdString()).has_value()); };
  QObject::connect(lengthField, &QLineEdit::textChanged, &dialog, enableOk);
  enableOk();
  lengthField->setFocus();

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const std::optional<double> entered = ParseLength(lengthField->text().toStdString());
  if (!entered) return std::nullopt;
  return LengthEntry{*entered, unit->currentIndex()};
}

}  // namespace mv
