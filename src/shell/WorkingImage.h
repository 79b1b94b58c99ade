#pragma once
// The working image: the bitmap of Im1's picture, in the pixel format its decoder produced until a
// command converts it, with its modified flag and where it came from.
//
// Every change goes through Replace, CopyFrom, Edit or Clear, which set the modified flag (as any change of a
// bitmap does) and advance the version the image area uses to notice that it must be drawn again.

#include <cstdint>
#include <optional>
#include <stdexcept>

#include "codecs/ImageFormats.h"
#include "platform/Bitmap.h"

namespace mv {

class WorkingImage {
 public:
  bool Exists() const { return picture_.has_value(); }
  // The picture; std::logic_error when there is none.
  const Bitmap& Picture() const {
    if (!picture_) throw std::logic_error("no working image");
    return *picture_;
  }
  int Width() const { return picture_ ? picture_->Width() : 0; }
  int Height() const { return picture_ ? picture_->Height() : 0; }

  void Replace(Bitmap picture) {
    picture_ = std::move(picture);
    Changed();
  }
  // The picture becomes a copy of `picture`, in the memory it has where the size allows. When the
  // copy cannot be made (std::bad_alloc) nothing changes, the modified flag included.
  void CopyFrom(const Bitmap& picture) {
    if (picture_) {
      *picture_ = picture;
    } else {
      picture_ = picture;
    }
    Changed();
  }
  // The picture for drawing on it in place.
  Bitmap& Edit() {
    if (!picture_) throw std::logic_error("no working image");
    Changed();
    return *picture_;
  }
  void Clear() {
    picture_.reset();
    Changed();
  }

  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  uint64_t Version() const { return version_; }

  int32_t LoadedFormat = kFormatNone;  // the id of the format it was read in (ImageFormats.h)

 private:
  void Changed() {
    modified_ = true;
    ++version_;
  }

  std::optional<Bitmap> picture_;
  bool modified_ = false;
  uint64_t version_ = 0;
};

}  // namespace mv
