#pragma once
// Scopes that undo a change on every way out of a block, exceptions included.

#include <utility>

namespace mv {

// Sets a value for the life of the scope and puts the old one back on every path.
template <typename T>
class ValueScope {
 public:
  ValueScope(T& value, T during) : value_(value), saved_(value) { value_ = std::move(during); }
  ~ValueScope() { value_ = std::move(saved_); }
  ValueScope(const ValueScope&) = delete;
  ValueScope& operator=(const ValueScope&) = delete;

 private:
  T& value_;
  T saved_;
};

// Runs a function when the scope ends, on every path.
template <typename Function>
class ScopeExit {
 public:
  explicit ScopeExit(Function function) : function_(std::move(function)) {}
  ~ScopeExit() { function_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Function function_;
};

}  // namespace mv
