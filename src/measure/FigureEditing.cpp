// Editing figures: picking a vertex, moving a point, resuming and recalculating a figure, aborting a
// tool, undoing the latest point, keyed-in coordinates and the axis constraint.

#include <algorithm>
#include <cmath>

#include "measure/MeasureForm.h"
#include "measure/Overlay.h"
#include "optionlib/OptionLibrary.h"

namespace mv {

namespace {

void ReportFigure(TForm1& form, const TFigure& figure) {
  if (figure.Kind == kPolyline) {
    form.ShowLengthResult(figure.Points);
  } else {
    form.ShowAreaResult(figure.Points);
  }
}

void DeleteCurrentFigure(TForm1& form) {
  if (TFigure* figure = form.measure.Current()) figure->Points.clear();
  form.CompactFigures();
  form.RefreshImageArea();
  form.SetMessage("図形を消去しました");
}

// Aborting input in mode 1 or 2: a new figure goes; a resumed one loses only the points added since
// its input resumed, so no figure that existed before is lost.
void AbandonFigureInput(MeasureState& measure) {
  TFigure* figure = measure.Current();
  if (figure == nullptr) return;
  if (measure.ResumedPointCount < 0) {
    measure.Figures.erase(measure.Figures.begin() + measure.CurrentFigure);
  } else if (figure->Points.size() > static_cast<std::size_t>(measure.ResumedPointCount)) {
    figure->Points.resize(static_cast<std::size_t>(measure.ResumedPointCount));
  }
}

}  // namespace

void PickFigure(TForm1& form, Point at, int32_t mode) {
  if (!form.PickVertex(at.x, at.y, mode)) return;
  if (mode == -4) return;  // input continues in mode 1 or 2
  const ScopeExit idle([&form] { form.Tag = 0; });
  if (mode == -5) {
    DeleteCurrentFigure(form);
  } else if (const TFigure* figure = form.measure.Current()) {
    ReportFigure(form, TFigure(*figure));
  }
}

bool TForm1::PickVertex(int x, int y, int32_t mode) {
  const Extended zoom = view.ZoomFactor;
  const auto near = [&](double value, int view) { return std::fabs(zoom * value - view) < 5; };
  for (std::size_t f = 0; f < measure.Figures.size(); ++f) {
    const FigurePoints& points = measure.Figures[f].Points;
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (!near(points[i].X, x) || !near(points[i].Y, y)) continue;
      measure.CurrentPoint = CheckedInt32(static_cast<int64_t>(i));
      measure.CurrentFigure = CheckedInt32(static_cast<int64_t>(f));
      measure.RubberEnd = ViewOfPoint(*this, points[i]);
      if (mode == -2) {
        Canvas& canvas = area.pb1Canvas();
        canvas.SetPenMode(PenMode::NotCopy);
        DrawMarker(canvas, measure.RubberEnd);
        SetMessage("点を移動して、新しい場所で左クリックしてください");
        return true;
      }
      // Input of the picked figure continues at its end.
      const TFigure& figure = measure.Figures[f];
      const auto count = static_cast<int64_t>(figure.Points.size());
      measure.ResumedPointCount = CheckedInt32(count);
      if (figure.Kind == kPolyline) {
        Tag = 1;
      } else {
        RefreshImageArea();  // while the mode is still the picking mode, so the polygon shows open
        DrawFigures(area.pb1Canvas());
        Tag = 2;
      }
      measure.CurrentPoint = CheckedInt32(count - 1);
      measure.RubberEnd = {x, y};
      SetMessage(IntToStr(static_cast<int64_t>(f) + 1) +
                 (figure.Kind == kPolyline ? "番目の多直線の距離：" : "番目の多角形：") +
                 IntToStr(count + 1) + "番目の点をクリックしてください");
      return true;
    }
  }
  return false;
}

void TForm1::ApplyMovedPoint(int x, int y) {
  TFigure* figure = measure.Current();
  const int32_t p = measure.CurrentPoint;
  if (figure != nullptr && p >= 0 && static_cast<std::size_t>(p) < figure->Points.size()) {
    const Point end = ConstrainedEnd(measure.RubberEnd, {x, y}, CheckedAxis(*this));
    figure->Points[static_cast<std::size_t>(p)] = ImagePosition(end, view.ZoomFactor);
  }
  measure.CurrentPoint = -1;
  measure.CurrentFigure = -1;
  Tag = 0;
  menus.SetChecked(menus.Get("N29"), false);
  RefreshImageArea();
  SetMessage("点を移動しました");
}

void TForm1::N29Click() {
  // A point picked earlier and left behind (a move ended by the middle button) must not be moved by
  // the click meant to pick the next one.
  if (Tag != -2) {
    measure.CurrentFigure = -1;
    measure.CurrentPoint = -1;
  }
  SetMessage("修正する点をクリックしてください");
  Tag = -2;
}

void TForm1::Q1Click() {
  if (Tag == 1 || Tag == 2) AbandonFigureInput(measure);
  if (Tag == -1) measure.CalibrationPoints.clear();
  measure.CurrentFigure = -1;
  measure.CurrentPoint = -1;
  measure.ResumedPointCount = -1;
  Tag = 0;
  desktop.SetScreenCursor(Cursor::Default);
  desktop.SetImageAreaCursor(Cursor::Default);
  RefreshImageArea();
  SetMessage("処理を中止しました");
  EnableImageCommands(true);
}

void TForm1::U1Click() {
  if (measure.CurrentFigure == -1) {
    if (measure.Figures.empty()) return;
    measure.CurrentFigure = CheckedInt32(static_cast<int64_t>(measure.Figures.size()) - 1);
  }
  TFigure* figure = measure.Current();
  if (figure == nullptr) return;
  const std::size_t n = figure->Points.size();
  if (n == 1) {
    measure.RubberEnd = {0, 0};
    figure->Points.clear();
    CompactFigures();
    // The same tool starts again on a fresh figure, without its guidance box.
    const ValueScope<bool> quiet(settings.ToolMessages, true);
    if (Tag == 1) N10Click();
    if (Tag == 2) N15Click();
  } else if (n >= 2) {
    measure.RubberEnd = ViewOfPoint(*this, figure->Points[n - 2]);
    figure->Points.resize(n - 2);
    measure.CurrentPoint -= 1;
    measure.ResumedPointCount = std::min<int32_t>(measure.ResumedPointCount, static_cast<int32_t>(n - 1));
    AddPoint(measure.RubberEnd.x, measure.RubberEnd.y);
  }
  RefreshImageArea();
}

void TForm1::S2Click() {
  Tag = -4;
  measure.CurrentFigure = -1;
  measure.CurrentPoint = -1;
  const char* text = "計算を再開したい図形の頂点をクリックしてください";
  ShowGuidance(*this, text);
  SetMessage(text);
  desktop.SetImageAreaCursor(Cursor::Cross);
}

void TForm1::N21Click() {
  measure.CurrentFigure = -1;
  measure.CurrentPoint = -1;
  if (measure.Figures.size() == 1 && !measure.Figures.front().Points.empty()) {
    const ScopeExit idle([this] { Tag = 0; });
    ReportFigure(*this, TFigure(measure.Figures.front()));
    return;
  }
  Tag = -3;
  const char* text = "再計算したい図形の頂点をクリックしてください";
  ShowGuidance(*this, text);
  SetMessage(text);
  desktop.SetImageAreaCursor(Cursor::Cross);
}

void TForm1::N49Click() {
  WithOptionLibrary([&](OptionSession& library) {
    const Point chosen = library.GetPointAndSize({image.Width(), image.Height()}, 0);
    if (chosen == Point{-1, -1}) {
      SetMessage("座標入力をキャンセルしました");
      return;
    }
    if (chosen == Point{-2, -2}) {
      SetMessage("座標入力フォームでエラーが発生");
      return;
    }
    // Modes 0, 1 and 2 take it as a click there; modes 3 and 4 as the wave effect's centre, which
    // the effect takes from the same click.
    if (Tag < 0 || Tag > 4) return;
    MouseEvent click;
    click.button = MouseButton::Left;
    click.x = RoundToInt32(static_cast<Extended>(chosen.x) * view.ZoomFactor);
    click.y = RoundToInt32(static_cast<Extended>(chosen.y) * view.ZoomFactor);
    pb1MouseDown(click);
  });
}

void TForm1::N28Click() {
  MenuItem& item = menus.Get("N28");
  menus.SetChecked(item, !item.checked);
}

void TForm1::N30Click() {
  MenuItem& item = menus.Get("N30");
  menus.SetChecked(item, !item.checked);
}

}  // namespace mv
