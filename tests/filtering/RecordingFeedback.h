#pragma once
// A Feedback that records what it is told. Its progress dialog can be made to "close" (as Cancel
// does) after a given number of steps.

#include <string>
#include <thread>
#include <vector>

#include "platform/Feedback.h"

namespace mv {

struct Recording {
  std::vector<std::string> messages;
  std::vector<std::pair<BoxKind, std::string>> boxes;
  std::vector<Cursor> cursors;
  std::string progressCaption;
  int progressMaximum = -1;
  int steps = 0;
  int pendingEventCalls = 0;
  int dialogsAlive = 0;
  int cancelAfterSteps = -1;  // the dialog hides itself after this many steps (-1: never)
  bool allOnCallingThread = true;
  std::thread::id callingThread = std::this_thread::get_id();

  void Note() {
    if (std::this_thread::get_id() != callingThread) allOnCallingThread = false;
  }
};

class RecordingProgress : public ProgressDialog {
 public:
  explicit RecordingProgress(Recording& r) : r_(r) { ++r_.dialogsAlive; }
  ~RecordingProgress() override { --r_.dialogsAlive; }
  void Start(const std::string& caption, int maximum) override {
    r_.Note();
    r_.progressCaption = caption;
    r_.progressMaximum = maximum;
  }
  bool IsVisible() const override {
    r_.Note();
    return r_.cancelAfterSteps < 0 || r_.steps < r_.cancelAfterSteps;
  }
  void StepIt() override {
    r_.Note();
    ++r_.steps;
  }

 private:
  Recording& r_;
};

class RecordingFeedback : public Feedback {
 public:
  Recording record;

  BoxButton ShowMessageBox(BoxKind kind, const std::string& text, BoxButtons, int) override {
    record.Note();
    record.boxes.emplace_back(kind, text);
    return kOK;
  }
  void SetMessage(const std::string& text) override {
    record.Note();
    record.messages.push_back(text);
  }
  void SetCursor(Cursor cursor) override {
    record.Note();
    record.cursors.push_back(cursor);
  }
  std::unique_ptr<ProgressDialog> CreateProgressDialog() override {
    record.Note();
    return std::make_unique<RecordingProgress>(record);
  }
  void ProcessPendingEvents() override {
    record.Note();
    ++record.pendingEventCalls;
  }
};

}  // namespace mv
