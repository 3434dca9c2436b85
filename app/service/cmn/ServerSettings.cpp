#include "app/service/cmn/ServerSettings.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/PropertyList.h"

namespace {

std::string setting(const pf::Value& plist, const char* key, const char* variable) {
  if (const char* value = std::getenv(variable); value && *value) return value;
  const pf::Value value = plist[key];
  if (const std::string* text = value.string(); text && !text->empty()) return *text;
  throw pf::ContractViolation(std::string("The server setting \"") + key + "\" is missing: set " + variable +
                              " or add it to Server.plist");
}

}  // namespace

ServiceConfiguration ServerSettings::load(const pf::Bundle& bundle) {
  pf::Value plist;
  if (const std::optional<std::string> path = bundle.pathForResource("Server", "plist")) {
    plist = pf::PropertyList::propertyListWithContentsOfFile(*path);
  }
  ServiceConfiguration configuration;
  configuration.baseUrl = setting(plist, "host", "MARLUNE_SERVER_HOST");
  configuration.appKey = setting(plist, "appKey", "MARLUNE_APP_KEY");
  configuration.secret = setting(plist, "secret", "MARLUNE_APP_SECRET");
  configuration.timeoutInSeconds = kTimeoutInSeconds;
  configuration.autoresetSession = true;
  return configuration;
}
