#pragma once
// Small pieces the measurement handlers share: the checked axis constraint, the guidance boxes.

#include <string>

#include "measure/FigureGeometry.h"
#include "platform/ScopeGuard.h"
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

}  // namespace mv
