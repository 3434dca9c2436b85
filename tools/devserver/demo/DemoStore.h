#pragma once
// The application store's public lookup service, as the update prompt asks it:
//   GET /store/<country>/lookup?bundleId=<id>   or   ?id=<track id>
// answers {"resultCount": 1, "results": [{"bundleId", "trackId", "trackName", "version",
// "releaseNotes"}]} while a release is published (the bundle id echoed), else a count of 0. Nothing is
// published until a test or the server's "--store-version" publishes one.
//
// Threads: any; the release is process-wide, kept under a lock.

#include <optional>
#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

class DemoStore {
 public:
  static constexpr unsigned kTrackId = 900100200;
  static constexpr char kReleaseNotes[] = "修复了已知问题\n学习记录同步更快";

  static void install(OpenServer& server);
  // The version the store offers from now on; nullopt withdraws it.
  static void publish(std::optional<std::string> version, std::string notes = kReleaseNotes);
};

}  // namespace devserver
