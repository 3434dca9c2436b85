#pragma once
// Where the client finds the platform's server, a deployment setting rather than code: the bundle's
// "Server.plist" (keys "host", "appKey", "secret"; shipped pointing at the local stand-in server,
// marlune-devserver --open on port 8080), each value replaceable by the environment variables
// MARLUNE_SERVER_HOST, MARLUNE_APP_KEY and MARLUNE_APP_SECRET.

#include "core/open/ServiceConfiguration.h"
#include "platform/foundation/Bundle.h"

class ServerSettings {
 public:
  static constexpr unsigned kTimeoutInSeconds = 30;

  // The configuration of the remote-call client: those three values, a 30 s time-out and automatic
  // session renewal. A value found nowhere is a build fault (ContractViolation naming it).
  static ServiceConfiguration load(const pf::Bundle& bundle);
};
