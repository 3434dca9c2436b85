#include "platform/net/UrlCredential.h"

#include <utility>

namespace pf {

UrlCredential::UrlCredential(std::string user, std::string password, Persistence persistence,
                             std::string accountDomain)
    : user_(std::move(user)),
      password_(std::move(password)),
      accountDomain_(std::move(accountDomain)),
      persistence_(persistence) {}

}  // namespace pf
