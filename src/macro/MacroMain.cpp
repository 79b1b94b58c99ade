// The command line of a macro run: mirvane --macro FILE [--program-folder DIR] [IMAGE]

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "macro/MacroExit.h"
#include "macro/MacroRunner.h"
#include "platform/ProgramFolder.h"
#include "platform/ScopeGuard.h"

namespace mv {

namespace {

// The macro file's text, or nullopt after saying on stderr why it cannot be read. A pipe is read as
// it comes (a script may be piped in); a folder or anything else that cannot be read is refused.
std::optional<std::string> ReadMacroFile(const std::string& path) {
  const auto refuse = [&](int error) {
    std::cerr << "mirvane: cannot read the macro file " << path << ": " << std::strerror(error) << '\n';
    return std::nullopt;
  };
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return refuse(errno);
  const ScopeExit close([descriptor] { ::close(descriptor); });
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) return refuse(errno);
  if (S_ISDIR(info.st_mode)) return refuse(EISDIR);
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(descriptor, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return refuse(errno);
    if (n == 0) return text;
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

int RunMacroCommandLine(const std::vector<std::string>& arguments) {
  std::string macroFile, programFolder = ExecutableFolder();
  std::vector<std::string> images;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--macro" && hasValue) {
      macroFile = arguments[++i];
    } else if (argument == "--program-folder" && hasValue) {
      programFolder = arguments[++i];
    } else if (argument == "--macro" || argument == "--program-folder") {
      std::cerr << "mirvane: " << argument << " needs a value\n";
      return kMacroSyntaxError;
    } else {
      images.push_back(argument);
    }
  }
  const std::optional<std::string> text = ReadMacroFile(macroFile);
  if (!text) return kMacroSyntaxError;
  std::vector<MacroLine> script;
  try {
    script = SplitMacro(*text);
  } catch (const MacroSyntaxError& error) {
    std::cerr << error.what() << '\n';
    return kMacroSyntaxError;
  }
  while (programFolder.size() > 1 && programFolder.back() == '/') programFolder.pop_back();
  MacroRunner runner(std::cout, programFolder);
  return runner.Run(script, images);
}

}  // namespace mv
