#pragma once
// option.so as a macro answers it: "answer lib missing" makes the next load fail, "answer lib EXPORT
// VALUE…" is the result of the next call of that export. A call without a queued answer ends the run
// as an unanswered dialog.

#include <ostream>
#include <string>

#include "macro/AnswerQueue.h"
#include "optionlib/OptionLibrary.h"

namespace mv {

class ScriptedOptionLibrary : public OptionLibrary {
 public:
  ScriptedOptionLibrary(AnswerQueue& answers, std::ostream& out, std::string programFolder)
      : answers_(answers), out_(out), programFolder_(std::move(programFolder)) {}
  std::unique_ptr<OptionSession> Load() override;

  // The syntax of an "answer lib" line's values (after "lib"); empty when fine, else the reason.
  static std::string CheckAnswer(const std::vector<std::string>& values);

 private:
  AnswerQueue& answers_;
  std::ostream& out_;
  std::string programFolder_;
};

}  // namespace mv
