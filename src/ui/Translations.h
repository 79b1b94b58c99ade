#pragma once
// Qt's own texts in Japanese: the standard dialogs (file, colour, message boxes), the context menus
// of text fields and the buttons Qt labels itself, to match the program's Japanese interface
// whatever the system's language. The translations come from the system's Qt (Debian package
// qt6-translations-l10n); without them Qt's texts stay English.

class QCoreApplication;

namespace mv {

// Installs Qt's Japanese translations into `application` and makes Japanese the default locale
// (dates and sizes in the file dialogs). False when the translation file is missing.
bool InstallJapaneseQtTexts(QCoreApplication& application);

}  // namespace mv
