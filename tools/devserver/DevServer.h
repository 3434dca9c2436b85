#pragma once
// A small HTTP/1.1 server on 127.0.0.1 that tests script path by path. Each connection is served on its
// own thread, requests one after another while the client keeps the connection; every request is
// recorded (method, target, headers, body, which connection) for assertions. Routes name a path exactly,
// or end in "*" to take every path with that prefix; an unrouted path answers 404. A fault plan answers
// the next requests of a path with the handlers given, one each, before its route. With startTls the
// server speaks TLS with the given certificate.
//
// Thread rules: route, planFaults, clearFaultPlans, requests, connectionCount and url work from any
// thread, also while serving; start and stop belong to the owner. Handlers run on connection threads.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "tools/devserver/Exchange.h"
#include "tools/devserver/Request.h"
#include "tools/devserver/ServerConnection.h"
#include "tools/devserver/ServerTls.h"

namespace devserver {

class DevServer {
 public:
  DevServer() = default;
  ~DevServer();
  DevServer(const DevServer&) = delete;
  DevServer& operator=(const DevServer&) = delete;

  void route(std::string path, Handler handler);
  // The next requests to the path (named as a route names it) are answered by these handlers, one
  // each in order; once they are used up, the routes answer again.
  void planFaults(std::string path, std::vector<Handler> faults);
  // Drops every fault planned and not yet used.
  void clearFaultPlans();
  // Requests to the path are answered as soon as their head is read, and the connection then closes
  // with the body unread, as a proxy refusing an upload does (recorded without a body). A later
  // request carrying `unless` (a header name) goes to the routes as usual.
  void routeOnHead(std::string path, Handler handler, std::string unless = "");

  // Port 0 takes a free port. false when the port cannot be bound.
  bool start(int port = 0);
  // false also when the certificate and key do not fit together.
  bool startTls(const std::string& certificatePem, const std::string& privateKeyPem, int port = 0);
  // Closes every connection (waking stalled handlers) and waits for the threads.
  void stop();

  int port() const { return port_; }
  // "http://127.0.0.1:<port><path>", https when serving TLS.
  std::string url(std::string_view path = "/") const;
  std::vector<Request> requests() const;
  int connectionCount() const;
  // Connections the server has not closed yet.
  int openConnectionCount() const;

 private:
  void acceptLoop();
  void serve(const std::shared_ptr<ServerConnection>& connection, int id);
  void answer(Exchange& exchange);
  Handler headHandler(const Request& request);
  bool pause(double seconds);

  std::shared_ptr<ServerTls> tls_;
  int listener_ = -1;
  int port_ = 0;
  std::thread acceptor_;

  mutable std::mutex mutex_;
  std::condition_variable stopping_;
  bool stopped_ = false;
  std::vector<std::pair<std::string, Handler>> routes_;
  struct HeadRoute {
    std::string path;
    Handler handler;
    std::string unless;
  };
  std::vector<HeadRoute> headRoutes_;
  std::vector<std::pair<std::string, std::deque<Handler>>> faultPlans_;
  std::vector<Request> requests_;
  std::vector<std::shared_ptr<ServerConnection>> connections_;
  std::vector<std::thread> workers_;
};

}  // namespace devserver
