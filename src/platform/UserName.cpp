#include "platform/UserName.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace mv {

std::string CurrentUserName() {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  return found->pw_name != nullptr ? std::string(found->pw_name) : std::string();
}

}  // namespace mv
