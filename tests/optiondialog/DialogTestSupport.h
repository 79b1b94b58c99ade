#pragma once
// Pictures and a feedback for the dialog models' tests.

#include <random>

#include "filtering/RecordingFeedback.h"
#include "optiondialog/TPNGOpt.h"
#include "platform/Bitmap.h"
#include "platform/ProgramFolder.h"

namespace mv {

inline Bitmap RandomPicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = picture.Row(y);
    for (int i = 0; i < 3 * width; ++i) row[i] = static_cast<uint8_t>(random());
  }
  return picture;
}

// A RecordingFeedback whose boxes answer `answer` (OK unless told otherwise).
class AnsweringFeedback : public RecordingFeedback {
 public:
  BoxButton answer = kOK;
  BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons buttons, int help) override {
    RecordingFeedback::ShowMessageBox(kind, text, buttons, help);
    return answer;
  }
};

inline OptionDialogServices ServicesFor(Feedback& feedback, std::string programFolder = ExecutableFolder()) {
  OptionDialogServices services;
  services.feedback = &feedback;
  services.programFolder = std::move(programFolder);
  return services;
}

}  // namespace mv
