#include "ui/UiFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace mv {

namespace {

constexpr int kFontPixelHeight = 12;

QString JapaneseFamily() {
  const QStringList installed = QFontDatabase::families();
  for (const char* preferred : {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPA Pゴシック"}) {
    const QString family = QString::fromUtf8(preferred);
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  return japanese.isEmpty() ? QString() : japanese.front();
}

}  // namespace

QFont WindowFont() {
  QFont font;
  const QString family = JapaneseFamily();
  if (!family.isEmpty()) font.setFamilies({family});
  font.setPixelSize(kFontPixelHeight);
  return font;
}

}  // namespace mv
