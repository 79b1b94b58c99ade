#include "option/VersionDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "option/DialogHost.h"

namespace mv {

void ShowVersionBox(const std::string& versionText) {
  QDialog dialog(HostWindow());
  dialog.setWindowTitle("バージョン情報");
  auto* layout = new QVBoxLayout(&dialog);
  layout->setSpacing(8);
  layout->setContentsMargins(24, 16, 24, 12);

  auto* name = new QLabel("Mirvane", &dialog);
  QFont bigger = name->font();
  if (bigger.pixelSize() > 0)
    bigger.setPixelSize(bigger.pixelSize() * 2);
  else
    bigger.setPointSizeF(bigger.pointSizeF() * 2);
  bigger.setBold(true);
  name->setFont(bigger);
  name->setAlignment(Qt::AlignCenter);
  layout->addWidget(name);

  auto* version = new QLabel("Version " + QString::fromUtf8(versionText), &dialog);
  version->setObjectName("version");
  version->setTextFormat(Qt::PlainText);
  version->setAlignment(Qt::AlignCenter);
  layout->addWidget(version);

  auto* about = new QLabel("画像ビューア・計測ツール\n長さと面積を校正した単位で測ります", &dialog);
  about->setAlignment(Qt::AlignCenter);
  layout->addWidget(about);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText("OK");
  buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
  buttons->setCenterButtons(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
  dialog.exec();
}

}  // namespace mv
