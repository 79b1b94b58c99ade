#pragma once
// The option dialog call every parameterised command makes: the thumbnail of the bitmap (188 box),
// the scale f and the preview point, the dialog shown modally on its model, and the option result.
//
// - No thumbnail: "縮小画像の作成に失敗しました" on the message line (unless it already reads
//   "キャンセルしました", as after cancelling the thumbnail's progress dialog); not accepted.
// - Cancelled: "キャンセルしました" on the message line; not accepted, every value 0.

#include <functional>
#include <string>

#include "optiondialog/TPNGOpt.h"

namespace mv {

struct OptionDialogCall {
  OptionDialogServices services;
  std::function<std::string()> messageLine;  // the message line as it reads now
  // Shows the dialog modally (its FormShow has run); true when it closed with OK.
  std::function<bool(TPNGOpt&)> show;
};

OptionResult RunOptionDialog(const OptionDialogCall& call, const Bitmap& bitmap, int mode, Point point);

// The thumbnail scale: the smaller of thumbnail width / width and thumbnail height / height.
double ThumbnailScale(Size thumbnail, Size picture);

}  // namespace mv
