#include "ui/FileDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

#include "codecs/ImageFile.h"
#include "ui/ClipboardImages.h"

namespace mv {

namespace {

constexpr int kPreviewSide = 160;
// Files larger than this are not decoded for the preview, so browsing stays quick.
constexpr qint64 kLargestPreviewFile = 64 << 20;
constexpr int kPlacesPadding = 8;  // room between the places' texts and the list's edges

QStringList Split(const QString& text, QChar separator) {
  QStringList parts;
  for (const QString& part : text.split(separator)) {
    const QString trimmed = part.trimmed();
    if (!trimmed.isEmpty()) parts << trimmed;
  }
  return parts;
}

QString DefaultTitle(FileDialogKind kind) {
  return kind == FileDialogKind::Open ? "開く" : "名前を付けて保存";
}

// A label beside the file list showing the chosen picture and its size.
class PicturePreview {
 public:
  explicit PicturePreview(QFileDialog& dialog) {
    auto* box = new QWidget(&dialog);
    auto* layout = new QVBoxLayout(box);
    picture_ = new QLabel(box);
    picture_->setObjectName("preview");
    picture_->setFixedSize(kPreviewSide, kPreviewSide);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    size_ = new QLabel(box);
    size_->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture_);
    layout->addWidget(size_);
    layout->addStretch();
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
      grid->addWidget(box, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, box, [this](const QString& path) { Show(path); });
  }

  void Show(const QString& path) {
    picture_->clear();
    size_->clear();
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kLargestPreviewFile) return;
    std::optional<DecodedImage> decoded;
    try {
      decoded = ReadImageFile(QFile::encodeName(path).toStdString());
    } catch (const std::exception&) {
      return;  // a file the preview cannot show is simply not shown
    }
    if (!decoded) return;
    const QImage image = ToQImage(decoded->bitmap);
    picture_->setPixmap(QPixmap::fromImage(
        image.scaled(kPreviewSide - 4, kPreviewSide - 4, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    size_->setText(QString("%1 x %2").arg(image.width()).arg(image.height()));
  }

 private:
  QLabel* picture_;
  QLabel* size_;
};

// The places beside the files and the detail view's columns as wide as their entries (the columns
// each time a folder has been listed): the default widths were made for English texts and cut the
// Japanese ones.
void FitColumnsToContent(QFileDialog& dialog) {
  if (auto* places = dialog.findChild<QListView*>("sidebar"))
    places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth() + kPlacesPadding);
  auto* view = dialog.findChild<QTreeView*>("treeView");
  auto* files = dialog.findChild<QFileSystemModel*>();
  if (view == nullptr || files == nullptr) return;
  QObject::connect(files, &QFileSystemModel::directoryLoaded, view, [view] {
    if (view->model() == nullptr) return;
    for (int column = 0; column < view->model()->columnCount(); ++column)
      view->resizeColumnToContents(column);
  });
}

void StartAt(QFileDialog& dialog, const std::string& initialDir, const std::string& fileName) {
  if (!initialDir.empty()) {
    const QFileInfo start(QFile::decodeName(initialDir.c_str()));
    if (start.isDir()) {
      dialog.setDirectory(start.absoluteFilePath());
    } else {
      dialog.setDirectory(start.absolutePath());
      if (start.isFile()) dialog.selectFile(start.fileName());
    }
  }
  if (!fileName.empty()) dialog.selectFile(QFile::decodeName(fileName.c_str()));
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    const QString patternText = parts[i + 1].trimmed();
    QStringList patterns = Split(patternText, ';');
    for (QString& pattern : patterns) {
      if (pattern == "*.*") pattern = "*";
    }
    if (patterns.isEmpty()) patterns << "*";
    const QString shown = "(" + patternText + ")";
    if (description.endsWith(shown)) description = description.chopped(shown.size()).trimmed();
    filters << description + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

std::optional<FileDialogResult> RunFileDialog(const FileDialogRequest& request, QWidget* parent) {
  const bool open = request.kind == FileDialogKind::Open;
  QFileDialog dialog(
      parent, request.title.empty() ? DefaultTitle(request.kind) : QString::fromStdString(request.title));
  dialog.setObjectName("fileDialog");
  // Qt's own dialog everywhere: the same look on every desktop, and room for the preview.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open && (request.options & kFileMustExist) ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.options & kOverwritePrompt) == 0);
  dialog.setLabelText(QFileDialog::LookIn, "ファイルの場所:");
  dialog.setLabelText(QFileDialog::FileName, "ファイル名:");
  dialog.setLabelText(QFileDialog::FileType, "ファイルの種類:");
  dialog.setLabelText(QFileDialog::Accept, open ? "開く" : "保存");
  dialog.setLabelText(QFileDialog::Reject, "キャンセル");
  FitColumnsToContent(dialog);

  const QStringList filters = QtNameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index =
        request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex : 1;
    dialog.selectNameFilter(filters[index - 1]);
  }
  if (!request.defaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  std::optional<PicturePreview> preview;
  if (request.picturePreview) {
    preview.emplace(dialog);
    // Room for the preview, but no larger than the screen (a small screen, or a large scale factor).
    QSize size = dialog.sizeHint().expandedTo(QSize(760, 440));
    if (const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())
      size = size.boundedTo(screen->availableSize());
    dialog.resize(size);
  }
  StartAt(dialog, request.initialDir, request.fileName);
  // The file the dialog starts on (its list may not have chosen it yet).
  if (preview && !dialog.selectedFiles().isEmpty()) preview->Show(dialog.selectedFiles().front());

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  FileDialogResult result;
  result.path = QFile::encodeName(dialog.selectedFiles().front()).toStdString();
  const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
  result.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : request.filterIndex;
  return result;
}

}  // namespace mv
