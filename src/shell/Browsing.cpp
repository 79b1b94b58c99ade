// Viewer mode: the folder list and stepping to the next or previous image of the folder.

#include <algorithm>

#include "platform/FolderListing.h"
#include "shell/CursorScope.h"
#include "shell/PathText.h"
#include "shell/TForm1.h"

namespace mv {

namespace {

// An entry worth trying: its lower-cased full path contains an image extension anywhere.
bool IsCandidate(const std::string& path) {
  std::string lower = path;
  for (char& c : lower) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  for (const char* extension : {".jpg", ".bmp", ".gif", ".png"}) {
    if (lower.find(extension) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

void TForm1::RegisterBrowsingCommands() {
  menus.Add("N7", MakeMenuItem("N33", "画像ビューアモード(&G)", [this] { N33Click(); }));
  menus.Add("N7", MakeMenuItem(
                      "N38", "次の画像へ(&R)", [this] { N38Click(); }, "Right"));
  menus.Add("N7", MakeMenuItem(
                      "N39", "前の画像へ(&L)", [this] { N39Click(); }, "Left"));
  controls.SetButtonHandler("BitBtn1", [this] { BitBtn1Click(); });
  controls.SetButtonHandler("BitBtn2", [this] { BitBtn2Click(); });
}

void TForm1::ListFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string prefix = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  browse.FolderList.clear();
  const auto entries = ListFolderEntries(prefix);
  if (!entries) return;
  // The enumeration's first entry is the folder's own "." and is not listed.
  for (std::size_t i = 1; i < entries->size(); ++i) browse.FolderList.push_back(prefix + (*entries)[i]);
}

int32_t TForm1::IndexInFolderList(const std::string& path) const {
  for (std::size_t i = 0; i < browse.FolderList.size(); ++i) {
    if (SameTextIgnoringCase(browse.FolderList[i], path)) return static_cast<int32_t>(i);
  }
  return -1;
}

void TForm1::N33Click() {
  MenuItem& viewerMode = menus.Get("N33");
  viewerMode.checked = !viewerMode.checked;
  if (viewerMode.checked) {
    menus.SetEnabled("N38", true);
    menus.SetEnabled("N39", true);
    menus.Click("N8");
    if (!controls.sb1Hint.empty()) {
      ListFolder(controls.sb1Hint);
      browse.currentIndex = IndexInFolderList(controls.sb1Hint);
    }
  } else {
    browse.FolderList.clear();
    menus.SetEnabled("N38", false);
    menus.SetEnabled("N39", false);
  }
}

bool TForm1::StepToImage(int direction) {
  const HourglassScope hourglass(desktop);
  if (!menus.IsChecked("N33")) N33Click();
  std::vector<std::string>& list = browse.FolderList;
  if (list.empty()) return false;
  const int32_t start = browse.currentIndex;
  // Stepping replaces the working image like opening does, so an edited image is asked about first,
  // once, when there is an image to step to.
  bool asked = false, mayReplace = false;
  // Tries entry i; true when the scan ends there (loaded, or replacing was refused). An entry that
  // fails to load has shown its box and leaves the list.
  const auto tryEntry = [&](int32_t i, bool& removed) {
    removed = false;
    if (!IsCandidate(list[static_cast<std::size_t>(i)])) return false;
    if (!asked) {
      asked = true;
      mayReplace = ConfirmDiscard();
    }
    if (!mayReplace) return true;
    if (LoadImageFile(list[static_cast<std::size_t>(i)], false)) {
      browse.currentIndex = i;
      return true;
    }
    list.erase(list.begin() + i);
    removed = true;
    return false;
  };
  bool removed = false;
  if (direction > 0) {
    for (int32_t i = start + 1; i < static_cast<int32_t>(list.size());) {
      if (tryEntry(i, removed)) return true;
      if (!removed) ++i;
    }
    for (int32_t j = 0; j < start && j < static_cast<int32_t>(list.size());) {
      if (tryEntry(j, removed)) return true;
      if (!removed) ++j;
    }
  } else {
    for (int32_t i = std::min(start - 1, static_cast<int32_t>(list.size()) - 1); i >= 0; --i) {
      if (tryEntry(i, removed)) return true;
    }
    for (int32_t k = static_cast<int32_t>(list.size()) - 1; k > start; --k) {
      if (tryEntry(k, removed)) return true;
    }
  }
  return false;
}

void TForm1::N38Click() {
  StepToImage(+1);
}

void TForm1::N39Click() {
  StepToImage(-1);
}

void TForm1::BitBtn1Click() {
  if (!menus.IsChecked("N33")) N33Click();
  N7Click();
  menus.Click("N38");
}

void TForm1::BitBtn2Click() {
  if (!menus.IsChecked("N33")) N33Click();
  N7Click();
  menus.Click("N39");
}

}  // namespace mv
