#include "optionlib/DynamicOptionLibrary.h"

#include <gtest/gtest.h>

#include "platform/DynamicLibrary.h"

namespace mv {
namespace {

std::string LastText() {
  DynamicLibrary library(std::string(FAKE_OPTION_FULL_FOLDER) + "/option.so");
  return library.Function<const char*()>("FakeLastText")();
}

TEST(DynamicOptionLibrary, EveryExportGetsItsArgumentsAndGivesItsResult) {
  DynamicOptionLibrary loader(FAKE_OPTION_FULL_FOLDER);
  auto lib = loader.Load();
  EXPECT_EQ(lib->CompressDialog(), 77);
  // A library without the image-aware quality dialog answers through the plain one.
  EXPECT_EQ(lib->CompressDialogFor(Bitmap(4, 3)), 77);
  const LengthAndUnit length = lib->GetLengthAndUnit(2.5, 1);
  EXPECT_EQ(length.length, 6.0);
  EXPECT_EQ(length.unitIndex, 2);
  EXPECT_EQ(lib->GetAlphaBlendVal(), 128);
  EXPECT_EQ(lib->TransBackColor(), -1);
  EXPECT_EQ(lib->DirectZoomRatio(0.75), 1.5);
  EXPECT_EQ(lib->GetPointAndSize({640, 480}, 1), (Point{641, 480}));
  lib->ShowVersion("1.0.0.0");
  EXPECT_EQ(LastText(), "version 1.0.0.0");
  lib->ShowSetting("/folder/ユーザー.ini");
  EXPECT_EQ(LastText(), "setting /folder/ユーザー.ini");
}

TEST(DynamicOptionLibrary, TheCustomFilterRecordCrossesWithItsCountedWeights) {
  DynamicOptionLibrary loader(FAKE_OPTION_FULL_FOLDER);
  CustomFilterRecord record;
  loader.Load()->ShowCustomFilter(record);
  EXPECT_TRUE(record.accepted);  // the fake confirms only when it saw the values passed in
  EXPECT_EQ(record.weights, (std::array<int32_t, 9>{-4, -3, -2, -1, 0, 1, 2, 3, 4}));
  EXPECT_EQ(record.divisor, 16.0);
  EXPECT_EQ(record.offset, 3);
  EXPECT_EQ(record.copyMode, 0x00CC0020u);
  EXPECT_EQ(record.preparation, 9);  // the count it read before element 0
}

TEST(DynamicOptionLibrary, ImagesCrossAs24BitViewsWhateverTheirFormat) {
  DynamicOptionLibrary loader(FAKE_OPTION_FULL_FOLDER);
  Bitmap indexed(5, 3, PixelFormat::Indexed8);
  indexed.SetPalette({PaletteEntry{1, 2, 3, 0}});
  auto lib = loader.Load();
  const HistogramRecord hiLow = lib->GetHistgramHiLow(indexed);
  EXPECT_EQ(hiLow.low, 5);
  EXPECT_EQ(hiLow.high, 3);
  EXPECT_EQ(hiLow.channel, 1 + 2 * 1000 + 3 * 1000000);
  EXPECT_EQ(hiLow.fourth, 16);  // 5 pixels of 3 bytes, padded to 4
  EXPECT_EQ(lib->GetHistgramRange(indexed).fourth, -16);
  lib->ShowHistgram(indexed);
  EXPECT_EQ(LastText(), "histogram 5");
}

TEST(DynamicOptionLibrary, AMissingLibraryOrExportIsReportedAsMissing) {
  DynamicOptionLibrary nowhere("/nonexistent/program/folder");
  EXPECT_THROW(nowhere.Load(), OptionLibraryMissing);
  DynamicOptionLibrary partial(FAKE_OPTION_PARTIAL_FOLDER);
  auto lib = partial.Load();
  EXPECT_EQ(lib->DirectZoomRatio(2), 4.0);
  EXPECT_THROW(lib->ShowVersion("1"), OptionLibraryMissing);
  EXPECT_THROW(lib->CompressDialogFor(Bitmap(4, 3)), OptionLibraryMissing);
  CustomFilterRecord record;
  EXPECT_THROW(lib->ShowCustomFilter(record), OptionLibraryMissing);
  EXPECT_FALSE(record.accepted);
}

TEST(DynamicOptionLibrary, TheMissingBoxNamesThePlatformFile) {
  EXPECT_EQ(OptionLibraryMissingText(),
            "\r\noption.soが見つかりませんでした\r\n\r\nアプリケーションを再インストールしてください");
}

}  // namespace
}  // namespace mv
