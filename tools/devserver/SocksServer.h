#pragma once
// A SOCKS 5 proxy on 127.0.0.1 for tests: the greeting, user name and password when set up to ask for
// them, and CONNECT to a server on this machine (see Relay), whose bytes it then relays.
// It records each CONNECT it was asked for as "host:port", and the user names it was given.
//
// Thread rules: targets and users work from any thread; start and stop belong to the owner.

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace devserver {

class SocksServer {
 public:
  SocksServer() = default;
  ~SocksServer();
  SocksServer(const SocksServer&) = delete;
  SocksServer& operator=(const SocksServer&) = delete;

  // With a user name, only clients that sign in with it and the password get through.
  bool start(std::optional<std::string> user = std::nullopt, std::string password = "");
  void stop();

  int port() const { return port_; }
  std::vector<std::string> targets() const;
  std::vector<std::string> users() const;

 private:
  void acceptLoop();
  void serve(int client);
  bool signIn(int client);
  void note(std::vector<std::string>& list, std::string entry);

  std::optional<std::string> user_;
  std::string password_;
  int listener_ = -1;
  int port_ = 0;
  std::thread acceptor_;

  mutable std::mutex mutex_;
  bool stopped_ = false;
  std::vector<int> clients_;
  std::vector<std::thread> workers_;
  std::vector<std::string> targets_;
  std::vector<std::string> users_;
};

}  // namespace devserver
