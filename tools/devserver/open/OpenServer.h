#pragma once
// A stand-in for the platform's open interface on 127.0.0.1, built on DevServer. Every call is a POST
// to "/open<method path>.html" whose JSON body holds the parameters (each a JSON text) and the keys
// "appKey_", "sign_" (upper-case MD5 of secret|path|secret), "timestamp_" (milliseconds) and
// "session_". The server checks the app key, the signature and the timestamp, issues sessions at
// "/v1/uc/login/ologin" to its own users, ends sessions that stay unused for sessionLifetime, and
// answers every refusal as error records under "hasException: true" ("open.session.expired" for a
// missing or lapsed session, "open.system.error" when a handler throws).
//
// Tests and the demo register methods: a path and a handler that receives the decoded call and the
// session's user. rawMethod answers a path with a plain DevServer handler before any check, for
// faults such as stalls and bad statuses.
//
// Thread rules: every member works from any thread, also while serving; handlers run on connection
// threads, one per call, with no lock of the server held.

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/devserver/DevServer.h"
#include "tools/devserver/open/OpenAnswer.h"
#include "tools/devserver/open/OpenCall.h"
#include "tools/devserver/open/OpenUser.h"

namespace devserver {

class OpenServer {
 public:
  using Method = std::function<OpenAnswer(const OpenCall& call)>;

  static constexpr char kLoginPath[] = "/v1/uc/login/ologin";

  struct Settings {
    std::string appKey;
    std::string secret;
    // A session ends once it has not been used for this long.
    double sessionLifetime = 900;
    // How far "timestamp_" may lie from the server's clock, either way.
    double timestampTolerance = 600;
    // Seconds since 1970; the system clock when empty. Tests hand in their virtual clock.
    std::function<double()> clock;
  };

  explicit OpenServer(Settings settings);
  ~OpenServer();
  OpenServer(const OpenServer&) = delete;
  OpenServer& operator=(const OpenServer&) = delete;

  void addUser(OpenUser user);
  // The user of that id as the server knows them now.
  std::optional<OpenUser> user(const std::string& userId) const;
  // Changes the user's password when oldPassword is the present one; later sign-ins need the new one.
  bool changePassword(const std::string& userId, const std::string& oldPassword,
                      const std::string& newPassword);
  // A method that needs a live session; the call's user is the session's. Replaces one of that path.
  void method(std::string path, Method handler);
  // A method anyone may call with a valid signature.
  void publicMethod(std::string path, Method handler);
  // Answers the path with this handler before any check.
  void rawMethod(std::string path, Handler handler);
  // A plain HTTP path beside the open interface (an upload address, a stored file), routed as
  // DevServer::route routes it.
  void route(std::string path, Handler handler);
  // The next calls of the method path are answered by these handlers, one each in order, before any
  // check (DevServer::planFaults); then the method answers again.
  void planFaults(const std::string& path, std::vector<Handler> faults);
  // The next calls of any method (sign-in included) are answered by these handlers, one each in order,
  // before any check; then the methods answer again.
  void planFaultsOnAnyMethod(std::vector<Handler> faults);
  // Drops every fault planned and not yet used.
  void clearFaultPlans() { http_.clearFaultPlans(); }
  // Ends every session now.
  void expireSessions();

  // Port 0 takes a free port; false when it cannot be bound.
  bool start(int port = 0);
  void stop();
  // "127.0.0.1:<port>": what the client takes as its server host.
  std::string host() const;
  // "http://127.0.0.1:<port><path>".
  std::string url(std::string_view path = "/") const { return http_.url(path); }
  int port() const { return http_.port(); }

  // Every call that passed the signature checks, in arrival order (logins included).
  std::vector<OpenCall> calls() const;
  // The calls made to one method path.
  std::vector<OpenCall> calls(const std::string& path) const;
  // The HTTP requests as they arrived.
  std::vector<Request> requests() const { return http_.requests(); }

 private:
  struct Entry {
    Method handler;
    bool needsSession = true;
  };
  struct Session {
    OpenUser user;
    double lastUse = 0;
  };

  void serve(Exchange& exchange);
  OpenAnswer answer(const std::string& path, const std::string& body);
  std::optional<OpenAnswer> refusal(const std::string& path, std::map<std::string, std::string>& parameters,
                                    std::string& sessionId) const;
  OpenAnswer login(const OpenCall& call);
  std::optional<OpenUser> sessionUser(const std::string& sessionId);
  std::string newSessionId();
  double now() const;

  const Settings settings_;
  mutable std::mutex mutex_;
  std::vector<OpenUser> users_;
  std::map<std::string, Entry> methods_;
  std::map<std::string, Handler> rawMethods_;
  std::map<std::string, Session> sessions_;
  std::vector<OpenCall> calls_;
  unsigned long long issued_ = 0;
  // Last, so it stops serving before the state above goes away.
  DevServer http_;
};

}  // namespace devserver
