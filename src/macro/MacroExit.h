#pragma once
// Ends a macro run with an exit status from anywhere inside a command. Deliberately not a
// std::exception, so the main window's command runner lets it pass instead of reporting it.

namespace mv {

struct MacroExit {
  int status = 0;
};

// Exit statuses of a macro run.
inline constexpr int kMacroFinished = 0;
inline constexpr int kMacroSyntaxError = 2;
inline constexpr int kMacroUnanswered = 3;
inline constexpr int kMacroExpectFailed = 4;

}  // namespace mv
