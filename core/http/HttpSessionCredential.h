#pragma once
// One entry of the engine's session credential stores: credentials a server or proxy accepted, kept for
// the life of the process so later requests to it can present them at once. Server entries carry the
// URL they were answered for, proxy entries the proxy's host and port.

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/net/HttpAuthentication.h"
#include "platform/net/Url.h"

// Keys of a credential dictionary (requestCredentials, proxyCredentials).
inline constexpr char kHttpCredentialUsernameKey[] = "Username";
inline constexpr char kHttpCredentialPasswordKey[] = "Password";
// Only for schemes that need an account domain (NTLM).
inline constexpr char kHttpCredentialAccountDomainKey[] = "AccountDomain";

struct HttpSessionCredential {
  // Absent for Basic credentials that were sent before any challenge and accepted.
  std::shared_ptr<pf::HttpAuthentication> authentication;
  pf::Dictionary credentials;
  std::optional<pf::Url> url;
  std::string host;
  int port = 0;
  std::string authenticationScheme;
  std::optional<std::string> authenticationRealm;
};
