#include "option/SettingsDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <vector>

#include "option/DialogHost.h"
#include "option/SettingKeys.h"
#include "platform/IniFile.h"

namespace mv {

namespace {

// One key's control: a check box or a spin box.
struct SettingControl {
  const SettingKey* key = nullptr;
  QCheckBox* check = nullptr;
  QSpinBox* number = nullptr;

  int32_t Value() const { return check != nullptr ? (check->isChecked() ? 1 : 0) : number->value(); }
};

QString ObjectName(const SettingKey& key) {
  return QString::fromUtf8(key.section) + "/" + QString::fromUtf8(key.key);
}

// The value in the file, or the default; a number outside its range is shown at the nearest end.
int32_t StoredValue(const IniFile& ini, const SettingKey& key) {
  if (key.kind == SettingKind::Boolean)
    return ini.ReadBool(key.section, key.key, key.defaultValue != 0) ? 1 : 0;
  return std::clamp(ini.ReadInteger(key.section, key.key, key.defaultValue), key.minimum, key.maximum);
}

SettingControl MakeControl(const SettingKey& key, int32_t value, QGroupBox& group, QFormLayout& layout) {
  SettingControl control;
  control.key = &key;
  if (key.kind == SettingKind::Boolean) {
    control.check = new QCheckBox(QString::fromUtf8(key.caption), &group);
    control.check->setObjectName(ObjectName(key));
    control.check->setChecked(value != 0);
    layout.addRow(control.check);
  } else {
    control.number = new QSpinBox(&group);
    control.number->setObjectName(ObjectName(key));
    control.number->setRange(key.minimum, key.maximum);
    control.number->setValue(value);
    layout.addRow(QString::fromUtf8(key.caption), control.number);
  }
  return control;
}

void WriteSettings(const std::string& path, const std::vector<SettingControl>& controls) {
  // The rest of the file is kept, so a file that cannot be read is not written over.
  std::optional<IniFile> read = IniFile::Read(path);
  if (!read) throw IniWriteError(path, "the file cannot be read; the settings were not saved");
  IniFile& ini = *read;
  for (const SettingControl& control : controls) {
    if (control.key->kind == SettingKind::Boolean)
      ini.WriteBool(control.key->section, control.key->key, control.Value() != 0);
    else
      ini.WriteInteger(control.key->section, control.key->key, control.Value());
  }
  ini.Save(path);
}

}  // namespace

bool EditSettings(const std::string& settingsPath) {
  QDialog dialog(HostWindow());
  dialog.setWindowTitle("オプション");
  auto* layout = new QVBoxLayout(&dialog);

  const IniFile ini = IniFile::Load(settingsPath);
  std::vector<SettingControl> controls;
  std::map<std::string, std::pair<QGroupBox*, QFormLayout*>> groups;
  for (const SettingKey& key : kSettingKeys) {
    auto& [box, form] = groups[key.group];
    if (box == nullptr) {
      box = new QGroupBox(QString::fromUtf8(key.group), &dialog);
      form = new QFormLayout(box);
      layout->addWidget(box);
    }
    controls.push_back(MakeControl(key, StoredValue(ini, key), *box, *form));
  }
  AddOkCancel(dialog);

  while (dialog.exec() == QDialog::Accepted) {
    try {
      WriteSettings(settingsPath, controls);
      return true;
    } catch (const std::exception& error) {
      QMessageBox::critical(&dialog, "オプション", QString::fromUtf8(error.what()));
    }
  }
  return false;
}

}  // namespace mv
