#pragma once
// Where and how the client reaches the platform's open interface. Filled once at start-up and handed
// to ServiceManager::initConfiguration, which keeps its own copy.

#include <cstdint>
#include <string>

struct ServiceConfiguration {
  // Sent with every request as "appKey_".
  std::string appKey;
  // Never sent; it only signs requests.
  std::string secret;
  // Host (and port) of the server, without scheme or path.
  std::string baseUrl;
  // Idle time-out of each request.
  std::uint32_t timeoutInSeconds = 30;
  // Log in again with the remembered credentials before a session can lapse, and count every
  // successful answer as activity.
  bool autoresetSession = false;
};
