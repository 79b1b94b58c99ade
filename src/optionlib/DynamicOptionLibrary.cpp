#include "optionlib/DynamicOptionLibrary.h"

#include <vector>

#include "optionlib/option_abi.h"
#include "platform/DynamicLibrary.h"
#include "platform/ProgramFolder.h"

namespace mv {

std::string OptionLibraryMissingText() {
  return std::string("\r\n") + kOptionLibraryFile +
         "が見つかりませんでした\r\n\r\nアプリケーションを再インストールしてください";
}

namespace {

// A 24-bit view of an image for the histogram exports; converts other formats first.
class ImageView {
 public:
  explicit ImageView(const Bitmap& image) {
    const Bitmap* source = &image;
    if (image.Format() != PixelFormat::Bgr24) {
      converted_ = image.ToBgr24();
      source = &converted_;
    }
    view_ = MvImageView{source->Width(), source->Height(), static_cast<int32_t>(source->Stride()),
                        source->IsEmpty() ? nullptr : source->Row(0)};
  }
  const MvImageView* Get() const { return &view_; }

 private:
  Bitmap converted_;
  MvImageView view_{};
};

class DynamicOptionSession : public OptionSession {
 public:
  explicit DynamicOptionSession(DynamicLibrary library) : library_(std::move(library)) {}

  int32_t CompressDialog() override { return Export<MvCompressDialog>("CompressDialog")(); }

  int32_t CompressDialogFor(const Bitmap& image) override {
    auto* call = library_.Function<MvCompressDialogFor>("CompressDialogFor");
    if (call == nullptr) return CompressDialog();
    const ImageView view(image);
    return call(view.Get());
  }

  LengthAndUnit GetLengthAndUnit(double length, int32_t unitIndex) override {
    MvLengthAndUnit block{length, unitIndex, 0};
    Export<MvGetLengthAndUnit>("GetLengthAndUnit")(&block, length, unitIndex);
    return {block.length, block.unitIndex};
  }

  void ShowVersion(const std::string& versionText) override {
    Export<MvShowVersion>("ShowVersion")(versionText.c_str());
  }

  void ShowSetting(const std::string& settingsPath) override {
    Export<MvShowSetting>("ShowSetting")(settingsPath.c_str());
  }

  int32_t GetAlphaBlendVal() override { return Export<MvGetAlphaBlendVal>("GetAlphaBlendVal")(); }
  int32_t TransBackColor() override { return Export<MvTransBackColor>("TransBackColor")(); }

  double DirectZoomRatio(double currentZoom) override {
    return Export<MvDirectZoomRatio>("DirectZoomRatio")(currentZoom);
  }

  Point GetPointAndSize(Point imageSize, int32_t mode) override {
    const MvPoint size{imageSize.x, imageSize.y};
    MvPoint result{-1, -1};
    Export<MvGetPointAndSize>("GetPointAndSize")(&size, mode, &result);
    return {result.x, result.y};
  }

  void ShowCustomFilter(CustomFilterRecord& record) override {
    auto* call = Export<MvShowCustomFilter>("ShowCustomFilter");
    // The counted array: [refcount][count][elements]; the record points at element 0.
    std::vector<int32_t> counted(2 + record.weights.size());
    counted[0] = 1;
    counted[1] = static_cast<int32_t>(record.weights.size());
    std::copy(record.weights.begin(), record.weights.end(), counted.begin() + 2);
    TMaskArrayEx raw{};
    raw.accepted = record.accepted ? 1 : 0;
    raw.weights = counted.data() + 2;
    raw.divisor = record.divisor;
    raw.offset = record.offset;
    raw.copyMode = record.copyMode;
    raw.preparation = record.preparation;
    call(&raw);
    record.accepted = raw.accepted != 0;
    std::copy(counted.begin() + 2, counted.end(), record.weights.begin());
    record.divisor = raw.divisor;
    record.offset = raw.offset;
    record.copyMode = raw.copyMode;
    record.preparation = raw.preparation;
  }

  void ShowHistgram(const Bitmap& image) override {
    auto* call = Export<MvShowHistgram>("ShowHistgram");
    const ImageView view(image);
    call(view.Get());
  }

  HistogramRecord GetHistgramHiLow(const Bitmap& image) override {
    return Histogram(Export<MvGetHistgramHiLow>("GetHistgramHiLow"), image);
  }

  HistogramRecord GetHistgramRange(const Bitmap& image) override {
    return Histogram(Export<MvGetHistgramRange>("GetHistgramRange"), image);
  }

 private:
  template <typename F>
  F* Export(const char* name) const {
    F* function = library_.Function<F>(name);
    if (function == nullptr) throw OptionLibraryMissing(std::string(kOptionLibraryFile) + " lacks " + name);
    return function;
  }

  static HistogramRecord Histogram(MvGetHistgramHiLow* call, const Bitmap& image) {
    const ImageView view(image);
    MvHistogramRecord record{};
    call(&record, view.Get());
    return {record.low, record.high, record.channel, record.fourth};
  }

  DynamicLibrary library_;
};

}  // namespace

std::unique_ptr<OptionSession> DynamicOptionLibrary::Load() {
  DynamicLibrary library(programFolder_ + "/" + kOptionLibraryFile, /*keepCodeMapped=*/true);
  if (!library.IsLoaded()) throw OptionLibraryMissing(library.Error());
  return std::make_unique<DynamicOptionSession>(std::move(library));
}

}  // namespace mv
