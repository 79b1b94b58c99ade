#include "filtering/KernelFetch.h"

#include "platform/DynamicLibrary.h"
#include "platform/ProgramFolder.h"

namespace mv {

int32_t FetchKernel(const std::string& programFolder, int32_t number, int32_t size, TMaskArray& kernel,
                    Feedback& feedback) {
  using GetFilterFunction = int32_t(int32_t, int32_t, int32_t*);
  const DynamicLibrary library(programFolder + "/" + kFilterLibraryFile);
  auto* getFilter = library.Function<GetFilterFunction>("GetFilter");
  if (getFilter == nullptr) {
    feedback.ShowMessageBox(BoxKind::Error,
                            std::string("\r\n") + kFilterLibraryFile +
                                "が見つかりませんでした\r\n\r\nアプリケーションを再インストールしてください",
                            kOK);
    return 0;
  }
  return getFilter(number, size, kernel.Data());
}

}  // namespace mv
