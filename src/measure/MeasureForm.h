#pragma once
// Small pieces the measurement handlers share: the checked axis constraint, the guidance boxes, and
// scopes that restore a value or finish a step on every path.

#include <string>
#include <utility>

#include "measure/FigureGeometry.h"
#include "shell/TForm1.h"

namespace mv {

// The axis constraint of the context menu's N28 (horizontal) and N30 (vertical).
Axis CheckedAxis(const TForm1& form);

// The guidance box of a tool (information, OK), skipped when "Tool Message" is set.
void ShowGuidance(TForm1& form, const std::string& text);

// The view position of an image point at the current zoom.
Point ViewOfPoint(const TForm1& form, const TFigurePoint& point);

// A left click in the picking modes: -5 deletes the figure whose vertex was hit, -4 resumes its
// input, -3 reports its result. A miss keeps the mode.
void PickFigure(TForm1& form, Point at, int32_t mode);

// Sets a value for the life of the scope and puts the old one back on every path.
template <typename T>
class ValueScope {
 public:
  ValueScope(T& value, T during) : value_(value), saved_(value) { value_ = during; }
  ~ValueScope() { value_ = saved_; }
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
