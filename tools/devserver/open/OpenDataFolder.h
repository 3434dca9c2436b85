#pragma once
// The stand-in's data on disk, for the marlune-devserver binary (--open --data DIR):
//   DIR/open.json         {"appKey": ..., "secret": ..., "sessionLifetime": seconds,
//                          "users": [{"corpCode", "loginName", "password", "userId"}, ...]}
//   DIR/answers/<path>.json  the JSON answer of the method path (answers/v1/uc/user/get.json answers
//                          "/v1/uc/user/get") to any signed-in user.
//   DIR/<module>/...      data that a module's computed methods read (tools/devserver/demo/).
// Methods that compute their answers are registered in code on the OpenServer instead.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/devserver/open/OpenServer.h"
#include "tools/devserver/open/OpenUser.h"

namespace devserver {

class OpenDataFolder {
 public:
  // nullopt with *problem saying what is wrong when open.json is missing or malformed.
  static std::optional<OpenDataFolder> read(const std::string& folder, std::string* problem);

  // Adds the users and the answers to the server.
  void install(OpenServer& server) const;

  OpenServer::Settings settings;
  std::vector<OpenUser> users;
  // Method path to its JSON answer.
  std::vector<std::pair<std::string, std::string>> answers;
};

}  // namespace devserver
