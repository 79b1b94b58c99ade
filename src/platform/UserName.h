#pragma once
// The login name of the user the program runs as (the effective user), which names the settings file.

#include <string>

namespace mv {

// Empty when the user database has no entry for the effective user.
std::string CurrentUserName();

}  // namespace mv
