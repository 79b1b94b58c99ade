#pragma once
// The open, save and log-file dialogs: Qt's file dialog with the core's "description|pattern|…"
// filters translated, the options of the request, Japanese labels, and for the picture dialogs a
// preview of the chosen file.

#include <QStringList>
#include <optional>
#include <string>

#include "shell/Desktop.h"

class QWidget;

namespace mv {

// "JPG|*.jpg;*.png;|全てのファイル (*.*)|*.*" -> {"JPG (*.jpg *.png)", "全てのファイル (*)"}: empty
// patterns are dropped, "*.*" (any file) becomes "*", and a description that already ends with its
// patterns in parentheses loses them there.
QStringList QtNameFilters(const std::string& filter);

std::optional<FileDialogResult> RunFileDialog(const FileDialogRequest& request, QWidget* parent);

}  // namespace mv
