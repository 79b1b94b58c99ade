#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "colour/ApplyColorFunction.h"
#include "colour/ColorFunctions.h"
#include "filtering/BorderPadding.h"
#include "filtering/ColorFilters.h"
#include "filtering/KernelFetch.h"
#include "filtering/NeighbourhoodPass.h"
#include "filtering/UnsharpMask.h"
#include "optiondialog/OptionPreview.h"

namespace mv {
namespace {

TPNGOpt Shown(int mode, const Bitmap& thumbnail, Feedback& feedback,
              std::string folder = ExecutableFolder()) {
  TPNGOpt dialog(mode, thumbnail, ServicesFor(feedback, std::move(folder)));
  dialog.FormShow();
  return dialog;
}

Bitmap Colour(const Bitmap& picture, const TColorFunction& func, std::vector<int32_t> params, double value,
              int mode) {
  Bitmap result = picture;
  RecordingFeedback quiet;
  ApplyColorFunction(result, func, "", false, mode, params, value, quiet);
  return result;
}

// The neighbourhood pass as a command runs it, with the kernel from the library.
Bitmap Filtered(const Bitmap& picture, int32_t number, int32_t n, int32_t radius, const TColorFilter& filter,
                std::function<double(int32_t)> divisor, std::function<void(TMaskArray&)> adjust = {},
                int32_t parameter = 0, int32_t elements = 0) {
  RecordingFeedback quiet;
  TMaskArray kernel(elements > 0 ? elements : n * n);
  const int32_t fetched = FetchKernel(ExecutableFolder(), number, n, kernel, quiet);
  if (adjust) adjust(kernel);
  PassSettings settings;
  settings.radius = radius;
  settings.quiet = true;
  return *RunNeighbourhoodPass(*PadBorder(picture, radius), filter, kernel.Elements(), divisor(fetched),
                               parameter, settings, quiet);
}

TEST(OptionPreview, ColourModesPreviewTheCommandsOperation) {
  RecordingFeedback feedback;
  const Bitmap thumbnail = RandomPicture(37, 23, 7);

  TPNGOpt contrast = Shown(3, thumbnail, feedback);
  EXPECT_TRUE(contrast.Image1() == thumbnail);  // factor 0
  contrast.TrackBar1Change(58);
  EXPECT_FALSE(contrast.Image1() == Colour(thumbnail, TContrastChange(), {0, 0, 0}, 0.58, 0));  // not yet
  contrast.UpdatePreview();
  EXPECT_TRUE(contrast.Image1() == Colour(thumbnail, TContrastChange(), {0, 0, 0}, 0.58, 0));

  TPNGOpt binarization = Shown(8, thumbnail, feedback);
  binarization.TrackBar1Change(90);
  binarization.RadioGroup2Click(2);
  binarization.UpdatePreview();
  EXPECT_TRUE(binarization.Image1() == Colour(thumbnail, TBlackAndWhite(), {0, 0, 0}, 90, 2));

  TPNGOpt solarization = Shown(15, thumbnail, feedback);
  solarization.RadioGroup1Click(4);
  solarization.UpdatePreview();
  EXPECT_TRUE(solarization.Image1() == Colour(thumbnail, TSolarization(), {5}, 5, 4));

  const TPNGOpt gamma = Shown(2, thumbnail, feedback);
  EXPECT_TRUE(gamma.Image1() == thumbnail);
  const TPNGOpt posterization = Shown(13, thumbnail, feedback);
  EXPECT_TRUE(posterization.Image1() == Colour(thumbnail, TPosterization(), {6}, 1.0, 0));

  // The wave is centred on the preview point and measures distances in the picture's pixels.
  TPNGOpt wave(21, thumbnail, ServicesFor(feedback));
  wave.SetScaleAndPoint(0.5, {10, 4});
  wave.FormShow();
  EXPECT_TRUE(wave.Image1() == Colour(thumbnail, TSinTrans(), {10, 4, 10, 127}, 2.0, 0));
  EXPECT_TRUE(feedback.record.messages.empty());
}

TEST(OptionPreview, FilterModesPreviewTheNeighbourhoodPass) {
  RecordingFeedback feedback;
  const Bitmap thumbnail = RandomPicture(31, 19, 9);
  const TCustomFilter custom;

  const TPNGOpt averaging = Shown(6, thumbnail, feedback);  // centre 6, divisor 14
  EXPECT_TRUE(averaging.Image1() ==
              Filtered(
                  thumbnail, 1, 3, 1, custom, [](int32_t) { return 14.0; }, [](TMaskArray& k) { k[4] = 6; }));

  TPNGOpt sharpen = Shown(18, thumbnail, feedback);
  sharpen.RadioGroup1Click(1);
  sharpen.UpdatePreview();
  EXPECT_TRUE(sharpen.Image1() == Filtered(
                                      thumbnail, 19, 3, 1, custom, [](int32_t d) { return d - 10.0; },
                                      [](TMaskArray& k) { k[4] -= 10; }));

  // Mode 16 scales the size to the thumbnail: at f 0.47 slider 20 blurs with 10.
  EXPECT_EQ(ScaledSize(1, 0.47), 1);
  EXPECT_EQ(ScaledSize(20, 0.47), 10);
  EXPECT_EQ(ScaledSize(0, 3.76), 1);
  EXPECT_EQ(ScaledSize(2, 3.76), 8);
  TPNGOpt gauss(16, thumbnail, ServicesFor(feedback));
  gauss.SetScaleAndPoint(0.47, {0, 0});
  gauss.FormShow();
  gauss.TrackBar1Change(20);
  gauss.UpdatePreview();
  EXPECT_TRUE(gauss.Image1() ==
              Filtered(thumbnail, 101, 21, 10, custom, [](int32_t d) { return double(d); }));

  TPNGOpt wind = Shown(210, thumbnail, feedback);
  wind.RadioGroup1Click(3);
  wind.TrackBar1Change(2);
  wind.UpdatePreview();
  EXPECT_TRUE(wind.Image1() == Filtered(thumbnail, 213, 5, 2, custom, [](int32_t d) { return double(d); }));
  EXPECT_TRUE(feedback.record.boxes.empty());
}

TEST(OptionPreview, LineArtIsShownInvertedAndEmbossOverTheBaseColour) {
  RecordingFeedback feedback;
  const Bitmap thumbnail = RandomPicture(25, 17, 11);

  TPNGOpt lineArt = Shown(10, thumbnail, feedback);  // Sobel, root of squares
  Bitmap edges = Filtered(
      thumbnail, 6, 3, 1, TLineArtFilter(), [](int32_t d) { return double(d); }, {}, 2, 18);
  EXPECT_EQ(lineArt.Image1().ColorAt(3, 4), edges.ColorAt(3, 4) ^ 0xFFFFFF);
  lineArt.RadioGroup1Click(7);  // "ラプラシアン１": a 3 x 3 custom kernel 9
  lineArt.UpdatePreview();
  const Bitmap laplacian = Filtered(thumbnail, 9, 3, 1, TCustomFilter(), [](int32_t d) { return double(d); });
  EXPECT_EQ(lineArt.Image1().ColorAt(5, 6), laplacian.ColorAt(5, 6) ^ 0xFFFFFF);

  const TPNGOpt emboss = Shown(7, thumbnail, feedback);  // kernel 0, base RGB(128, 0, 0)
  const Bitmap embossed = Filtered(thumbnail, 0, 3, 1, TCustomFilter(), [](int32_t d) { return double(d); });
  EXPECT_EQ(emboss.Image1().ColorAt(8, 9), embossed.ColorAt(8, 9) | MakeColor(128, 0, 0));
}

TEST(OptionPreview, MosaicEdgeEnhancementAndTheUnsharpMaskPreviewWithTheCommandsRoutines) {
  RecordingFeedback feedback;
  const Bitmap thumbnail = RandomPicture(23, 21, 17);

  // Mosaic: blocks of the slider's size on the thumbnail itself.
  TPNGOpt mosaic = Shown(20, thumbnail, feedback);
  mosaic.TrackBar1Change(4);
  mosaic.UpdatePreview();
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 23; ++x)
      ASSERT_EQ(mosaic.Image1().ColorAt(x, y), thumbnail.ColorAt(x / 4 * 4, y / 4 * 4));

  // Edge enhancement adds the edges to the thumbnail: no channel gets darker, and a flat picture
  // has no edges to add.
  TPNGOpt edges = Shown(11, thumbnail, feedback);
  EXPECT_FALSE(edges.Image1() == thumbnail);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 3 * 23; ++x) ASSERT_GE(edges.Image1().Row(y)[x], thumbnail.Row(y)[x]);
  Bitmap flat(23, 21);
  TPNGOpt flatEdges = Shown(11, flat, feedback);
  EXPECT_TRUE(flatEdges.Image1() == flat);

  // The unsharp mask's box is scaled to the thumbnail: slider 20 at f 0.47 is the 23 x 23 box.
  TPNGOpt unsharp(101, thumbnail, ServicesFor(feedback));
  unsharp.SetScaleAndPoint(0.47, {0, 0});
  unsharp.FormShow();
  unsharp.TrackBar1Change(20);
  unsharp.TrackBar2Change(25);
  unsharp.UpdatePreview();
  DialogChoices choices;
  choices.slider1 = 10;
  const FilterRecipe box = *FilterRecipeFor(100, choices);
  EXPECT_EQ(box.size, 23);
  UnsharpSteps steps;
  steps.coefficient = 2.5;
  RecordingFeedback quiet;
  EXPECT_TRUE(unsharp.Image1() ==
              *UnsharpMask(thumbnail, box, *FetchRecipeKernel(box, ExecutableFolder(), quiet), steps, quiet));
  const TPNGOpt detection = Shown(102, flat, feedback);
  EXPECT_EQ(detection.Image1().ColorAt(5, 5), MakeColor(255, 255, 255));
  EXPECT_TRUE(feedback.record.boxes.empty());
  EXPECT_TRUE(feedback.record.messages.empty());
}

TEST(OptionPreview, SavingModesAndMissingKernelsShowTheThumbnail) {
  RecordingFeedback feedback;
  const Bitmap thumbnail = RandomPicture(20, 20, 13);
  for (const int mode : {0, 1}) {
    TPNGOpt dialog = Shown(mode, thumbnail, feedback);
    if (dialog.TrackBar1.visible) dialog.TrackBar1Change(dialog.TrackBar1.position + 1);
    dialog.UpdatePreview();
    EXPECT_TRUE(dialog.Image1() == thumbnail) << mode;
  }
  EXPECT_TRUE(feedback.record.boxes.empty());

  TPNGOpt blind = Shown(6, thumbnail, feedback, "/nonexistent");
  EXPECT_TRUE(blind.Image1() == thumbnail);
  ASSERT_EQ(feedback.record.boxes.size(), 1u);
  EXPECT_EQ(feedback.record.boxes[0].first, BoxKind::Error);
}

}  // namespace
}  // namespace mv
