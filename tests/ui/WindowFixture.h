#pragma once
// A main window on the offscreen platform with a program folder of its own (settings file and all),
// shown and started without arguments, and small test pictures.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "shell/TForm1.h"
#include "support/TempFolder.h"
#include "ui/MainWindow.h"

namespace mv::test {

// A picture whose every pixel differs from its mirror images: red = x, green = y, blue = x ^ y.
inline QImage TestPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
  return image;
}

inline std::string WritePicture(const TempFolder& folder, const std::string& name, int width, int height) {
  const std::string path = folder.File(name);
  TestPicture(width, height).save(QString::fromStdString(path), "PNG");
  return path;
}

// Lets posted events (layout, deferred size changes, repaints) run.
inline void Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QTest::qWait(5);
  }
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<MainWindow>(folder_.Path().string());
    window_->show();
    window_->Start({});
    Settle();
  }

  TForm1& Form() { return window_->Form(); }
  template <typename T = QWidget>
  T* Child(const char* name) {
    T* child = window_->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  void Load(const std::string& path) {
    window_->Deliver([&] { Form().Run([&] { Form().LoadImageFile(path, true); }); });
    Settle();
  }

  TempFolder folder_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace mv::test
