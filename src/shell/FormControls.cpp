#include "shell/FormControls.h"

#include <stdexcept>

namespace mv {

namespace {

BarButton Button(const char* name, const char* hint) {
  BarButton button;
  button.name = name;
  button.hint = hint;
  return button;
}

ColorPanel Panel(int number, const char* hint, Point position, ColorRef color) {
  return ColorPanel{"Panel" + std::to_string(number), hint, position, color, {}};
}

}  // namespace

FormControls::FormControls() {
  label1 = "メッセージが表示されます";
  pn1 = {Button("BitBtn2", "前の画像へ"),
         Button("BitBtn1", "次の画像へ"),
         Button("BitBtn5", "左に90°回転"),
         Button("BitBtn6", "右に90°回転"),
         Button("BitBtn4", "オリジナルサイズに戻す"),
         Button("BitBtn3", "ウィンドウサイズに合わせる")};
  pn2 = {Button("BitBtn10", "単位長さの指定"),
         Button("BitBtn12", "単位長さのリセット"),
         Button("BitBtn7", "多直線の長さ"),
         Button("BitBtn9", "多角形の面積"),
         Button("BitBtn11", "2値化して白/黒の面積を算出"),
         Button("BitBtn8", "透過モード"),
         Button("BitBtn13", "画像を元に戻す")};
  colorPanels = {Panel(1, "白", {3, 198}, MakeColor(255, 255, 255)),
                 Panel(2, "青", {3, 206}, MakeColor(0, 0, 255)),
                 Panel(3, "赤", {3, 214}, MakeColor(255, 0, 0)),
                 Panel(4, "緑", {3, 222}, MakeColor(0, 128, 0)),
                 Panel(5, "黄色", {3, 230}, MakeColor(255, 255, 0)),
                 Panel(6, "紫", {3, 238}, MakeColor(128, 0, 128)),
                 Panel(7, "栗色", {15, 198}, MakeColor(128, 0, 0)),
                 Panel(8, "アクア", {15, 206}, MakeColor(0, 255, 255)),
                 Panel(9, "ライムグリーン", {15, 214}, MakeColor(0, 255, 0)),
                 Panel(10, "シルバー", {15, 222}, MakeColor(192, 192, 192)),
                 Panel(11, "グレー", {15, 230}, MakeColor(128, 128, 128)),
                 Panel(12, "黒", {15, 238}, MakeColor(0, 0, 0))};
  const std::array<Alignment, 6> alignments = {Alignment::Center, Alignment::Left,   Alignment::Center,
                                               Alignment::Center, Alignment::Center, Alignment::Left};
  for (std::size_t i = 0; i < sb1.size(); ++i) {
    sb1[i].width = kStatusPanelWidths[i];
    sb1[i].alignment = alignments[i];
  }
}

BarButton* FormControls::FindButton(const std::string& name) {
  for (auto* bar : {&pn1, &pn2}) {
    for (BarButton& button : *bar) {
      if (button.name == name) return &button;
    }
  }
  return nullptr;
}

bool FormControls::BarShown(const BarButton& button) const {
  for (const BarButton& candidate : pn1) {
    if (&candidate == &button) return pn1Visible;
  }
  return pn2Visible;
}

ColorPanel* FormControls::FindColorPanel(const std::string& name) {
  for (ColorPanel& panel : colorPanels) {
    if (panel.name == name) return &panel;
  }
  return nullptr;
}

void FormControls::SetButtonHandler(const std::string& name, std::function<void()> handler) {
  BarButton* button = FindButton(name);
  if (button == nullptr) throw std::logic_error("no button " + name);
  button->onClick = std::move(handler);
  button->enabled = true;
}

}  // namespace mv
