// The measurement's menus and controls: the Tool menu N9 with its enabling, the image area's context
// menu PopupMenu1 with its enabling table, the side-bar buttons, the colour panels, pb1's paint
// handler and the tool modes' mouse handlers.

#include <array>
#include <vector>

#include "measure/MeasureCommands.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// The Tool menu's items after its first, R1 (redraw), which is always offered.
constexpr std::array<const char*, 10> kToolItemsAfterFirst = {"N13", "N20", "N10", "N15", "N43",
                                                              "S2",  "N21", "W1",  "N16", "N61"};

// One cell of the context menu's enabling table.
enum class Cell {
  Off,
  On,
  Keep,  // left as it is
  Rule,  // decided by the column's rule for the mode
};

struct PopupColumn {
  std::vector<const char*> items;
};

// Columns: N45, Q1, N28/N30, N49, U1, N29, W3/B1, N41, N64.
const std::array<PopupColumn, 9> kPopupColumns = {{{{"N45"}},
                                                   {{"Q1"}},
                                                   {{"N28", "N30"}},
                                                   {{"N49"}},
                                                   {{"U1"}},
                                                   {{"N29"}},
                                                   {{"W3", "B1"}},
                                                   {{"N41"}},
                                                   {{"N64"}}}};

struct PopupRow {
  std::vector<int32_t> modes;  // empty: every mode no other row names
  std::array<Cell, 9> cells;
};

constexpr Cell O = Cell::Off, I = Cell::On, K = Cell::Keep, R = Cell::Rule;

const std::vector<PopupRow>& PopupRows() {
  static const std::vector<PopupRow> rows = {
      //                N45 Q1 axis N49 U1 N29 fill N41 N64
      {{kPickFigureToDelete}, {O, I, O, O, O, O, O, O, O}},
      {{kPickFigureToResume, kPickFigureToRecalculate, kMovePoint}, {O, I, I, I, O, I, O, O, O}},
      {{kCalibration}, {O, I, I, I, O, O, O, O, O}},
      {{kSelectionMode}, {O, O, I, R, O, R, R, R, I}},
      {{kPolylineInput, kPolygonInput}, {R, I, I, I, K, O, O, O, O}},
      {{kWaveCentre, kStrangeWaveCentre}, {O, I, O, I, O, O, O, O, O}},
      {{}, {O, O, I, O, O, O, K, O, O}},
  };
  return rows;
}

const PopupRow& PopupRowFor(int32_t mode) {
  for (const PopupRow& row : PopupRows()) {
    for (const int32_t m : row.modes) {
      if (m == mode) return row;
    }
  }
  return PopupRows().back();
}

// The rules of the table's "Rule" cells.
// `current` is the figure under input, or nullptr.
bool PopupRule(const TForm1& form, const TFigure* current, std::size_t column) {
  const SelectionState& selection = form.selection;
  switch (column) {
    case 0:  // N45: a polyline from two points on, a polygon from three
      return current != nullptr && static_cast<int64_t>(current->Points.size()) >= int64_t{form.Tag} + 1;
    case 3:  // N49
      return !selection.SelectionActive && form.image.Exists();
    case 5:  // N29
      return !form.measurements.Figures.empty();
    case 6:  // W3, B1: a corner on the picture's left or top edge (0) is not offered
      return selection.SelectionStart.x > 0 && selection.SelectionStart.y > 0 &&
             selection.SelectionEnd.x > 0 && selection.SelectionEnd.y > 0;
    case 7:  // N41
      return !form.logs.MeasureLog.empty() || !form.logs.AreaLog.empty();
    default:
      return false;
  }
}

}  // namespace

void MeasureCommands::N9Click() {
  if (!form.image.Exists() || form.Tag != kSelectionMode) {
    for (const char* name : kToolItemsAfterFirst) form.menus.SetEnabled(name, false);
    return;
  }
  for (const char* name : {"N13", "N20", "N10", "N15", "N43"}) form.menus.SetEnabled(name, true);
  const bool figures = !form.measurements.Figures.empty();
  for (const char* name : {"N21", "S2", "N16", "N61"}) form.menus.SetEnabled(name, figures);
  form.menus.SetEnabled("W1", figures || !form.measurements.CalibrationPoints.empty());
}

void MeasureCommands::PopupMenu1Popup() {
  form.menus.SetEnabled("U1", !form.measurements.Figures.empty());
  const PopupRow& row = PopupRowFor(form.Tag);
  for (std::size_t column = 0; column < kPopupColumns.size(); ++column) {
    const Cell cell = row.cells[column];
    if (cell == Cell::Keep) continue;
    const bool enabled = cell == Cell::On || (cell == Cell::Rule && PopupRule(form, CurrentFigure(), column));
    for (const char* name : kPopupColumns[column].items) form.menus.SetEnabled(name, enabled);
  }
}

void MeasureCommands::RegisterMenus() {
  form.menus.SetLayout("N9", {"R1", "N13", "N20", "N10", "N15", "N43", "S2", "N21", "W1", "N16", "N61"});
  form.menus.Add(kMainMenu, MakeMenu("N9", "ツール(&T)", [this] { N9Click(); }));
  form.menus.Add("N9", MakeMenuItem(
                           "R1", "再描画(&P)", [this] { R1Click(); }, "Ctrl+P"));
  form.menus.Add("N9", MakeMenuItem(
                           "N13", "単位長さの指定(&D)", [this] { N13Click(); }, "Ctrl+D"));
  form.menus.Add("N9", MakeMenuItem("N20", "単位長さのリセット(&I)", [this] { N20Click(); }));
  form.menus.Add("N9", MakeMenuItem(
                           "N10", "距離測定(&L)", [this] { N10Click(); }, "Ctrl+M"));
  form.menus.Add("N9", MakeMenuItem(
                           "N15", "多角形の面積(&F)", [this] { N15Click(); }, "Ctrl+F"));
  form.menus.Add("N9", MakeMenuItem("N43", "2値化して白/黒の面積を算出", [this] { N43Click(); }));
  form.menus.Add("N9", MakeMenuItem("S2", "計算の再開(&R)", [this] { S2Click(); }));
  form.menus.Add("N9", MakeMenuItem("N21", "長さ、面積の再計算(&C)", [this] { N21Click(); }));
  form.menus.Add("N9", MakeMenuItem("W1", "図形を画像に書き込む(&W)", [this] { W1Click(); }));
  form.menus.Add("N9", MakeMenuItem(
                           "N16", "全ての点/図形をクリア(&X)", [this] { N16Click(); }, "Ctrl+X"));
  form.menus.Add("N9", MakeMenuItem(
                           "N61", "選択した図形をクリア(&K)", [this] { N61Click(); }, "Ctrl+K"));

  form.menus.SetLayout(kImagePopupMenu,
                       {"N50", "N45", "Q1", "N28", "N30", "N49", "U1", "N29", "W3", "B1", "N41", "N64"});
  form.menus.Get(kImagePopupMenu).onPopup = [this] { PopupMenu1Popup(); };
  form.menus.Add(kImagePopupMenu, MakeMenuItem("N50", "再描画(&P)", [this] { N50Click(); }));
  form.menus.Add(kImagePopupMenu, MakeMenuItem("N45", "最終点の決定(&F)", [this] { N45Click(); }));
  // Escape aborts too, through the context menu's enabling as a shortcut goes.
  form.menus.Add(kImagePopupMenu, MakeMenuItem(
                                      "Q1", "処理を中止する(&Q)", [this] { Q1Click(); }, "Esc"));
  form.menus.Add(kImagePopupMenu, MakeMenuItem("N28", "水平線に沿って...(&H)", [this] { N28Click(); }))
      .radioGroup = 3;
  form.menus.Add(kImagePopupMenu, MakeMenuItem("N30", "垂直線に沿って...(&V)", [this] { N30Click(); }))
      .radioGroup = 3;
  form.menus.Add(kImagePopupMenu, MakeMenuItem("N49", "座標をキー入力で指定(&D)", [this] { N49Click(); }));
  form.menus.Add(kImagePopupMenu, MakeMenuItem("U1", "最新の点を取り消す(&U)", [this] { U1Click(); }));
  form.menus.Add(kImagePopupMenu, MakeMenuItem("N29", "点の位置を修正(&M)", [this] { N29Click(); }));
  form.menus.Add(kImagePopupMenu, MakeMenuItem("W3", "白で塗りつぶす(&W)", [this] { W3Click(); }));
  form.menus.Add(kImagePopupMenu, MakeMenuItem("B1", "黒で塗りつぶす(&B)", [this] { B1Click(); }));
  form.menus.Add(kImagePopupMenu, MakeMenuItem("N41", "ログへ出力(&L)", [this] { N41Click(); }));
  form.menus.Add(kImagePopupMenu, MakeMenuItem("N64", "ログファイルの指定/変更(&C)", [this] { N64Click(); }));

  form.controls.SetButtonHandler("BitBtn7", [this] { BitBtn7Click(); });
  form.controls.SetButtonHandler("BitBtn9", [this] { BitBtn9Click(); });
  form.controls.SetButtonHandler("BitBtn10", [this] { BitBtn10Click(); });
  form.controls.SetButtonHandler("BitBtn11", [this] { BitBtn11Click(); });
  form.controls.SetButtonHandler("BitBtn12", [this] { BitBtn12Click(); });
  for (ColorPanel& panel : form.controls.colorPanels) panel.onClick = [this, &panel] { Panel9Click(panel); };

  form.area.paintHandlers.push_back([this](Canvas& canvas) { DrawFigures(canvas); });
  form.area.paintHandlers.push_back([this](Canvas&) { ForgetInputBands(); });
  form.mouseDownHandlers.push_back([this](const MouseEvent& event) { MeasureMouseDown(event); });
  form.mouseMoveHandlers.push_back([this](const MouseEvent& event) { MeasureMouseMove(event); });
}

}  // namespace mv
