#include "tools/devserver/demo/DemoLgn.h"

#include <openssl/evp.h>

#include <map>
#include <memory>
#include <tuple>

#include "tools/devserver/Exchange.h"
#include "tools/devserver/demo/DemoJson.h"
#include "tools/devserver/demo/DemoPicture.h"

namespace devserver {

namespace {

using demo_json::Json;

std::string md5Lower(const std::string& text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

class UserDemo {
 public:
  UserDemo(OpenServer& server, const Json& data) : server_(server) {
    for (const Json& corporation : data.value("corporations", Json::array())) {
      corporations_[demo_json::text(corporation, "corpCode")] = demo_json::text(corporation, "corpName");
    }
    const Json menus = data.value("menus", Json::object());
    for (const Json& profile : data.value("profiles", Json::array())) {
      const std::string userId = demo_json::text(profile, "userId");
      Json own = profile;
      own.erase("menu");
      own.erase("signInPassword");
      // Users beyond those of open.json sign in with the password given here.
      if (profile.contains("signInPassword")) {
        server.addUser({demo_json::text(profile, "corpCode"), demo_json::text(profile, "loginName"),
                        demo_json::text(profile, "signInPassword"), userId});
      }
      profiles_[userId] = own;
      menus_[userId] = menus.value(demo_json::text(profile, "menu"), Json::array());
    }
  }

  OpenAnswer get(const OpenCall& call) const {
    const std::optional<OpenUser> user = server_.user(call.user->userId);
    if (!user) return OpenAnswer::error("uc.user.notFound", "用户不存在！", call.user->userId);
    Json profile = profiles_.contains(user->userId) ? profiles_.at(user->userId) : Json::object();
    profile["userId"] = user->userId;
    profile["loginName"] = user->loginName;
    profile["corpCode"] = user->corpCode;
    profile["corpName"] =
        corporations_.contains(user->corpCode) ? corporations_.at(user->corpCode) : user->corpCode;
    profile["password"] = md5Lower(user->password);
    // A photo of the stand-in's own, at its address.
    if (profile.contains("facePath")) {
      profile["faceUrl"] = server_.url(demo_json::text(profile, "facePath"));
      profile.erase("facePath");
    }
    profile["previousLoginTime"] = demo_json::nowMilliseconds();
    return demo_json::answer(profile);
  }

  OpenAnswer modifyUserPassword(const OpenCall& call) const {
    const auto loginName = call.text("loginName");
    const auto psw = call.text("psw");
    const auto oldPsw = call.text("oldPsw");
    if (loginName != call.user->loginName || !psw || psw->empty() || !oldPsw)
      return OpenAnswer::success(false);
    return OpenAnswer::success(server_.changePassword(call.user->userId, *oldPsw, *psw));
  }

  OpenAnswer getMobileApp(const OpenCall& call) const {
    const auto menu = menus_.find(call.user->userId);
    Json entries = menu == menus_.end() ? Json::array() : menu->second;
    // Icons the stand-in serves itself are named by their path.
    for (Json& entry : entries) {
      const std::string icon = demo_json::text(entry, "appIcon");
      if (icon.starts_with("/")) entry["appIcon"] = server_.url(icon);
    }
    return demo_json::answer(entries);
  }

 private:
  OpenServer& server_;
  std::map<std::string, std::string> corporations_;
  std::map<std::string, Json> profiles_;
  std::map<std::string, Json> menus_;
};

// "/media/lgn/face/<userId>.png" and "/media/lgn/app/<appCode>.png": a picture of its own for each.
void answerLgnMedia(Exchange& exchange) {
  const std::string& path = exchange.request().path;
  for (const auto& [folder, prefix, side] : {std::tuple<std::string, std::string, int>{"/media/lgn/face/", "face-", 96},
                                             {"/media/lgn/app/", "app-", 72}}) {
    if (!path.starts_with(folder) || !path.ends_with(".png")) continue;
    const std::string stem = path.substr(folder.size(), path.size() - folder.size() - 4);
    if (stem.empty() || stem.find('/') != std::string::npos) break;
    return DemoPicture::answer(exchange, prefix + stem, side, side);
  }
  exchange.respond(404, "no such picture");
}

}  // namespace

void installDemoLgn(OpenServer& server, const std::string& dataFolder) {
  const Json data = demo_json::readFile(dataFolder + "/lgn/users.json");
  auto demo = std::make_shared<UserDemo>(server, data.is_object() ? data : Json::object());
  server.method("/v1/uc/user/get", [demo](const OpenCall& call) { return demo->get(call); });
  server.method("/v1/uc/user/modifyUserPassword",
                [demo](const OpenCall& call) { return demo->modifyUserPassword(call); });
  server.route("/media/lgn/*", answerLgnMedia);
  server.method("/v1/cs/usermobileapp/getMobileApp",
                [demo](const OpenCall& call) { return demo->getMobileApp(call); });
}

}  // namespace devserver
