#pragma once
// A user name and password (and, for NTLM, an account domain) with how long they may be kept: not at
// all, for the life of the process, or permanently on disk. An immutable value.

#include <string>

namespace pf {

class UrlCredential {
 public:
  enum class Persistence { None, ForSession, Permanent };

  UrlCredential(std::string user, std::string password, Persistence persistence,
                std::string accountDomain = "");

  const std::string& user() const { return user_; }
  const std::string& password() const { return password_; }
  const std::string& accountDomain() const { return accountDomain_; }
  Persistence persistence() const { return persistence_; }

  bool operator==(const UrlCredential&) const = default;

 private:
  std::string user_;
  std::string password_;
  std::string accountDomain_;
  Persistence persistence_;
};

}  // namespace pf
