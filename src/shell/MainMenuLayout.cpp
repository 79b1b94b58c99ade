// The order of the main menu and of the menus whose items several subsystems add, and the menus
// themselves. Items are added by the core and the subsystems and land at their place here.

#include "shell/TForm1.h"

namespace mv {

void TForm1::RegisterMenuLayout() {
  menus.SetLayout(kMainMenu, {"N1", "N4", "N7", "N35", "P2", "T1", "N9", "O1"});
  menus.SetLayout("N1", {"N2", "S1", "N3"});
  menus.SetLayout("N4",
                  {"N46", "N11", "N5", "N6", "N42", "A2", "D1", "N63", "N901", "N902", "N26", "N27", "N52"});
  menus.SetLayout("N63", {"D3", "MirvaneP1", "W7", "MirvaneS1"});
  menus.SetLayout("N7", {"N17", "N24", "N36", "N33", "N38", "N39", "O2"});
  menus.SetLayout("N17", {"Up1", "N4001", "N2001", "N18", "N751", "N501", "N251", "N8", "N14", "Down1"});
  menus.SetLayout("O1", {"A1", "H1", "sm", "V1"});
  menus.SetLayout(kDepthPopupMenu, {"N24bit1", "N8bit1"});

  menus.Add(kMainMenu, MakeMenu("N1", "ファイル(&F)", [this] { N1Click(); }));
  menus.Add(kMainMenu, MakeMenu("N4", "編集(&E)", [this] { N4Click(); }));
  menus.Add(kMainMenu, MakeMenu("N7", "表示(&S)", [this] { N7Click(); }));
  menus.Add(kMainMenu, MakeMenu("O1", "その他(&O)", [this] { O1Click(); }));
  menus.Add("N7", MakeMenu("N17", "倍率指定(&Z)"));
  menus.Get(kDepthPopupMenu).onPopup = [this] { PopupMenu2Popup(); };
}

}  // namespace mv
