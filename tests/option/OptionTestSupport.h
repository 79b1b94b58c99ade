#pragma once
// What the tests of option.so's dialogs share: the library loaded through the program's binding
// (the build's own, or a copy in a folder of its own), the dialogs' fields by object name, files.

#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "optionlib/DynamicOptionLibrary.h"
#include "support/TempFolder.h"

namespace mv::test {

inline std::unique_ptr<OptionSession> Load() {
  return DynamicOptionLibrary(OPTION_FOLDER).Load();
}

template <typename T>
T* Field(QWidget& dialog, const char* name) {
  T* field = dialog.findChild<T*>(name);
  EXPECT_NE(field, nullptr) << name;
  return field;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A program folder of its own with a copy of the library: the copy is a library of its own too,
// loaded afresh (what it remembers starts anew), and it writes its files into that folder.
class ProgramFolderCopy {
 public:
  ProgramFolderCopy() {
    std::filesystem::copy_file(std::filesystem::path(OPTION_FOLDER) / "option.so",
                               folder_.Path() / "option.so");
  }
  const std::filesystem::path& Path() const { return folder_.Path(); }
  std::unique_ptr<OptionSession> Load() const { return DynamicOptionLibrary(folder_.Path().string()).Load(); }

 private:
  TempFolder folder_;
};

}  // namespace mv::test
