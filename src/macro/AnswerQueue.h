#pragma once
// The queued "answer" lines of a macro: each dialog takes the oldest answer of its kind that fits.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mv {

struct Answer {
  std::string kind;                 // box, file, option, rgb, colour, lib
  std::vector<std::string> values;  // the tokens after the kind
};

class AnswerQueue {
 public:
  void Push(Answer answer) { answers_.push_back(std::move(answer)); }
  // Removes and returns the oldest answer of `kind` for which `fits` holds.
  std::optional<Answer> Take(const std::string& kind, const std::function<bool(const Answer&)>& fits = {}) {
    for (auto it = answers_.begin(); it != answers_.end(); ++it) {
      if (it->kind == kind && (!fits || fits(*it))) {
        Answer answer = std::move(*it);
        answers_.erase(it);
        return answer;
      }
    }
    return std::nullopt;
  }

 private:
  std::deque<Answer> answers_;
};

}  // namespace mv
