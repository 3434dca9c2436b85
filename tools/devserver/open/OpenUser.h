#pragma once
// A user the stand-in server knows: the three sign-in texts and the id later methods answer with.

#include <string>

namespace devserver {

struct OpenUser {
  std::string corpCode;
  std::string loginName;
  std::string password;
  std::string userId;
};

}  // namespace devserver
