#include "option/FilterNameFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/AtomicFile.h"

namespace mv {

void WriteFilterNameFile(const std::string& folder, const std::string& name) {
  std::string line = name;
  std::replace(line.begin(), line.end(), '\r', ' ');
  std::replace(line.begin(), line.end(), '\n', ' ');
  line += "\r\n";
  const std::vector<uint8_t> bytes(line.begin(), line.end());
  WriteFileAtomically(folder + "/" + kFilterNameFile, bytes);
}

}  // namespace mv
