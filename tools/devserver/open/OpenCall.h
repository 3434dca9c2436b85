#pragma once
// One call to the stand-in's open interface as a method handler sees it: the method path, the
// parameters without the signing keys (each value still the JSON text the client sent), and the user
// of the session the call carried.

#include <map>
#include <optional>
#include <string>

#include "tools/devserver/open/OpenUser.h"

namespace devserver {

struct OpenCall {
  // "/v1/uc/login/ologin": what stands between "/open" and ".html".
  std::string path;
  // Parameter name to its JSON text.
  std::map<std::string, std::string> parameters;
  // "session_" as sent; empty when the call carried none.
  std::string sessionId;
  // The session's user; empty for methods that need no session.
  std::optional<OpenUser> user;

  // A parameter that holds a JSON string, decoded; nullopt when it is absent or no string.
  std::optional<std::string> text(const std::string& name) const;
  bool has(const std::string& name) const { return parameters.contains(name); }
};

}  // namespace devserver
