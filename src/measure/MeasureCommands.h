#pragma once
// Measurement: calibration, point input and figure editing, lengths and areas, the overlay of
// figures, the measurement log, the binarized white/black area, the Tool menu N9 and the image's context menu
// PopupMenu1. The figures and the calibration themselves are the main window's (TForm1::measurements), as the
// pending log lines are (TForm1::logs); this class keeps the state of the input in progress.

#include <cstdint>
#include <string>

#include "measure/FigureGeometry.h"
#include "measure/PointInputState.h"
#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/ScopeGuard.h"
#include "shell/InputTypes.h"
#include "shell/Measurements.h"
#include "shell/Subsystem.h"

namespace mv {

class TForm1;
struct ColorPanel;

class MeasureCommands : public Subsystem {
 public:
  explicit MeasureCommands(TForm1& form);

  // Calibration (Calibration.cpp)
  void N13Click();
  void N20Click();
  void BitBtn10Click();
  void BitBtn12Click();
  // The first or second calibration point at the view position (x, y).
  void CalibrationClick(int x, int y);

  // Point input and figure editing (PointInput.cpp, FigureEditing.cpp)
  void N10Click();
  void N15Click();
  void BitBtn7Click();
  void BitBtn9Click();
  void AddPoint(int x, int y);
  // The inverting rubber band from `anchor` to the pointer, constrained to the checked axis.
  void RubberLine(Point pointer, Point anchor);
  void MovePointRubber(int x, int y);
  // The first vertex within reach of (x, y) becomes CurrentFigure / CurrentPoint; true on a hit.
  bool PickVertex(int x, int y, int32_t mode);
  void ApplyMovedPoint(int x, int y);
  // Ends the figure under input and reports it (the middle button, N45). `mode` is the tool mode.
  void FinishFigure(int32_t mode);
  void N29Click();
  void N45Click();
  void Q1Click();
  void U1Click();
  void S2Click();
  void N21Click();
  void N49Click();
  void N28Click();
  void N30Click();

  // Results (Results.cpp)
  std::string FormatLength(const FigurePoints& points) const;
  void ShowLengthResult(const FigurePoints& points);
  void ShowAreaResult(const FigurePoints& points);

  // The overlay and the figure commands (OverlayCommands.cpp, FigureCommands.cpp)
  void DrawFigures(Canvas& canvas);
  void Panel9Click(const ColorPanel& sender);
  void ChooseLineColor(const ColorPanel& panel);
  void R1Click();
  void N50Click();
  void W1Click();
  void N16Click();
  void N61Click();
  void CompactFigures();
  void FillSelection(ColorRef color);
  void W3Click();
  void B1Click();

  // The measurement log (MeasureLog.cpp)
  std::string BuildLogLine(const FigurePoints& points, int32_t kind) const;
  std::string LogFileName() const;
  void N64Click();
  void N41Click();

  // The binarized white/black area (BinarizedArea.cpp)
  void N43Click();
  void BitBtn11Click();
  // Queues the log line of a binarized rectangle, after the column header when the queue is empty.
  void AddAreaLogLine(int32_t whiteCount, int32_t blackCount, const Rect& rect);

  // The Tool menu and the image's context menu (ToolMenu.cpp)
  void N9Click();
  void PopupMenu1Popup();

  PointInputState input;

 private:
  // The tool modes' part of pb1's mouse handlers.
  void MeasureMouseDown(const MouseEvent& event);
  void MeasureMouseMove(const MouseEvent& event);
  // A fresh composition shows none of what pointer moves drew between compositions (the inverting
  // rubber bands, which end at RubberEnd): the band is taken back to its anchor, so the next move
  // draws one instead of erasing one that is no longer there, whatever recomposed the surface (a
  // scroll, a resize, a zoom, a redraw).
  void ForgetInputBands();
  // The figure CurrentFigure names, or nullptr.
  TFigure* CurrentFigure();
  // The axis constraint of the context menu's N28 (horizontal) and N30 (vertical).
  Axis CheckedAxis() const;
  // The guidance box of a tool (information, OK), skipped when "Tool Message" is set.
  void ShowGuidance(const std::string& text);
  // The view position of an image point at the current zoom.
  Point ViewOfPoint(const TFigurePoint& point) const;
  // A left click in the picking modes: -5 deletes the figure whose vertex was hit, -4 resumes its
  // input, -3 reports its result. A miss keeps the mode.
  void PickFigure(Point at, int32_t mode);
  void StartFigureInput(int32_t kind);
  void ReportFigure(const TFigure& figure);
  void DeleteCurrentFigure();
  void AbandonFigureInput();
  void Report(const FigurePoints& points, int32_t kind, const std::string& text);
  // Replaces the working image; the depth panel follows a change of depth.
  void ReplaceWorkingImage(Bitmap picture);
  void RegisterMenus();

  TForm1& form;
};

}  // namespace mv
