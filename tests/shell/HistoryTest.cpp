#include <gtest/gtest.h>

#include "EditFixture.h"

namespace mv {
namespace {

using History = EditFixture;

void Paint(TForm1& form, ColorRef colour) {
  form.image.Edit().SetColorAt(0, 0, colour);
  form.RecordUndo();
}

TEST_F(History, RecordingReusesTheMemoryOfTheEntriesItDrops) {
  Load(Gradient(600, 600));  // past the huge-page threshold
  Paint(form_, colors::kRed);
  Paint(form_, MakeColor(0, 255, 0));
  Paint(form_, colors::kBlue);
  const uint8_t* third = form_.history.UndoCache[3].Row(0);
  const uint8_t* working = form_.image.Picture().Row(0);
  form_.N46Click();
  form_.N46Click();
  EXPECT_EQ(form_.image.Picture().Row(0), working);  // undo copies into the working image's memory
  Paint(form_, colors::kWhite);                      // entry 2 is reused, entry 3 kept aside
  EXPECT_EQ(form_.history.UndoCache.size(), 3u);
  Paint(form_, colors::kBlack);
  ASSERT_EQ(form_.history.UndoCache.size(), 4u);
  EXPECT_EQ(form_.history.UndoCache[3].Row(0), third);
  EXPECT_EQ(form_.history.UndoCache[3].ColorAt(0, 0), colors::kBlack);
  EXPECT_EQ(form_.history.UndoCache[2].ColorAt(0, 0), colors::kWhite);
  // No more than one bitmap is kept aside, and none once the cache is emptied.
  form_.N46Click();
  form_.N46Click();
  form_.N46Click();
  form_.image.Replace(Gradient(5, 5));
  form_.RecordUndo();
  EXPECT_EQ(form_.history.spareEntries.size(), 1u);
  form_.ClearUndo();
  EXPECT_TRUE(form_.history.spareEntries.empty());
}

// After each recording that appends an entry for a large picture, a zero spare of its shape is
// prepared in the background; a recording copies into it once it is ready, whatever the picture
// has become, and allocates its own memory before.
TEST_F(History, RecordingsIntoPreparedSparesHoldTheirPictures) {
  Load(Gradient(600, 600));
  ASSERT_TRUE(form_.history.preparedSpare.valid());
  form_.history.preparedSpare.wait();  // ready: the next recording copies into it
  Paint(form_, colors::kRed);
  form_.image.Replace(Gradient(700, 500));  // a spare of the old size waits meanwhile
  form_.RecordUndo();
  Paint(form_, colors::kBlue);
  ASSERT_EQ(form_.history.UndoCache.size(), 4u);
  EXPECT_EQ(form_.history.UndoCache[3], form_.image.Picture());
  EXPECT_LE(form_.history.spareEntries.size(), 1u);
  form_.N46Click();
  EXPECT_EQ(form_.image.Picture(), Gradient(700, 500));
  form_.N46Click();
  Bitmap red = Gradient(600, 600);
  red.SetColorAt(0, 0, colors::kRed);
  EXPECT_EQ(form_.image.Picture(), red);

  form_.ClearUndo();
  EXPECT_FALSE(form_.history.preparedSpare.valid());
  form_.image.Replace(Gradient(5, 5));  // small pictures are not prepared for
  form_.RecordUndo();
  EXPECT_FALSE(form_.history.preparedSpare.valid());
}

}  // namespace
}  // namespace mv
