#include "optionlib/OptionLibrary.h"
#include "shell/TForm1.h"

namespace mv {

bool TForm1::WithOptionLibrary(const std::function<void(OptionSession&)>& use) {
  try {
    const std::unique_ptr<OptionSession> library = desktop.GetOptionLibrary().Load();
    use(*library);
    return true;
  } catch (const OptionLibraryMissing&) {
    desktop.ShowMessageBox(BoxKind::Error, OptionLibraryMissingText(), kOK, 0);
    return false;
  }
}

}  // namespace mv
