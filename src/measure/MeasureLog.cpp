// The measurement log: the line a reported figure queues, choosing the log file, and appending the
// queued lines to it in Shift-JIS with CR LF line ends.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "measure/MeasureCommands.h"
#include "measure/ResultText.h"
#include "measure/ShiftJis.h"
#include "platform/OpenFile.h"
#include "shell/PathText.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

constexpr const char* kCrLf = "\r\n";

// A write that did not reach the file ends the command; the error box shows the reason.
class LogWriteError : public std::runtime_error {
 public:
  explicit LogWriteError(int error)
      : std::runtime_error(std::string("ログファイルへの書き込みに失敗しました: ") + std::strerror(error)) {}
};

// The log file opened for appending; closed on every path.
class AppendFile {
 public:
  // Opens an existing file for appending or creates it; -1 in `fd` when neither works. It never
  // waits (a named pipe would wait for a reader) and takes only a file or a device such as /dev/null.
  AppendFile(const std::string& path, bool create)
      : fd_(OpenFile(path, O_WRONLY | O_APPEND | (create ? O_CREAT : 0), FileKinds::RegularOrCharacterDevice)
                .Release()) {}
  ~AppendFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }

  void Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t written = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) throw LogWriteError(written < 0 ? errno : ENOSPC);
      done += static_cast<std::size_t>(written);
    }
  }

  // Closing may report a write that did not reach the file after all.
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) throw LogWriteError(errno);
  }

 private:
  int fd_;
};

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// The lines in Shift-JIS, each ended by CR LF.
std::string LogBytes(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += ToShiftJis(line) + kCrLf;
  return bytes;
}

std::optional<std::string> ChooseLogFile(TForm1& form, const std::string& fileName) {
  FileDialogRequest request;
  request.kind = FileDialogKind::LogFile;
  request.title = "ログファイルの選択";
  request.filter = "Log File  *.log|*.log|Text File  *.txt|*.txt|All File  *.*|*.*";
  request.defaultExt = "log";
  request.options = kHideReadOnly | kPathMustExist | kFileMustExist | kEnableSizing;
  request.fileName = fileName;
  if (fileName.empty()) request.initialDir = FolderPart(form.controls.sb1Hint);
  const auto chosen = form.desktop.ShowFileDialog(request);
  if (!chosen) return std::nullopt;
  form.menus.Get("N41").hint = chosen->path;
  return chosen->path;
}

}  // namespace

std::string MeasureCommands::BuildLogLine(const FigurePoints& points, int32_t kind) const {
  return LogLine(points, kind, form.measurements, form.controls.sb1Hint, form.logs.Now());
}

std::string MeasureCommands::LogFileName() const {
  const MenuItem* item = form.menus.Find("N41");
  return item == nullptr ? std::string() : item->hint;
}

void MeasureCommands::N64Click() {
  if (!ChooseLogFile(form, LogFileName())) form.SetMessage("ログファイルの変更を取りやめました");
}

void MeasureCommands::N41Click() {
  bool blankLineFirst = true;
  std::string path = LogFileName();
  if (path.empty()) {
    const auto chosen = ChooseLogFile(form, "");
    if (!chosen) {
      form.SetMessage("ログファイルへの出力を取りやめました");
      return;
    }
    path = *chosen;
    blankLineFirst = false;
  }
  if (form.logs.AreaLog.empty() && form.logs.MeasureLog.empty()) {
    form.SetMessage("ログがありません。");
    return;
  }
  const bool exists = Exists(path);
  if (!exists) blankLineFirst = false;
  AppendFile file(path, !exists);
  if (!file.IsOpen()) {
    form.desktop.ShowMessageBox(
        BoxKind::Error,
        "\r\nログファイルに書き込むことができません\r\n（他のアプリケーションで開いてませんか？）", kOK, 0);
    form.SetMessage("ログファイルへ書き込めませんでした");
    return;
  }
  // A queue is emptied only once its lines are written; a failure keeps every queue whose lines may
  // not have reached the file.
  bool areaWritten = false;
  try {
    file.Write((blankLineFirst ? kCrLf : "") + LogBytes(form.logs.AreaLog));
    areaWritten = true;
    if (!form.logs.MeasureLog.empty()) file.Write(kCrLf + LogBytes(form.logs.MeasureLog));
  } catch (const LogWriteError&) {
    if (areaWritten) form.logs.AreaLog.clear();
    throw;
  }
  file.Close();
  form.logs.AreaLog.clear();
  form.logs.MeasureLog.clear();
  form.SetMessage("ログファイルへ出力しました");
}

}  // namespace mv
