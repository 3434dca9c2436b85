#pragma once
// The two proxies of the loopback server open a connection to a server on 127.0.0.1 for their client
// and then pass bytes both ways until either side closes.

#include <string>

namespace devserver {

class Relay {
 public:
  // A connected socket to host:port on 127.0.0.1, or -1. The host must be 127.0.0.1, localhost or a
  // name under "test" (a domain kept for testing, which stands for this machine here): the server plays
  // a proxy for tests, never one to anywhere else.
  static int connectLoopback(const std::string& host, int port);
  // Passes bytes between the two sockets until one of them ends; closes neither.
  static void pass(int client, int upstream);
};

}  // namespace devserver
