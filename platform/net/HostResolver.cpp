#include "platform/net/HostResolver.h"

#include <netdb.h>
#include <sys/socket.h>

#include <cstring>
#include <mutex>

#include "platform/foundation/ThreadPool.h"
#include "platform/net/StreamError.h"

namespace pf {
namespace {

std::mutex lookupMutex;
HostResolver::Lookup installedLookup;

HostResolver::Lookup currentLookup() {
  std::lock_guard lock(lookupMutex);
  return installedLookup ? installedLookup : HostResolver::Lookup(&HostResolver::systemLookup);
}

}  // namespace

void HostResolver::resolve(const std::string& host, int port, std::function<void(Answer)> done) {
  Lookup lookup = currentLookup();
  ThreadPool::shared().submit(ThreadPool::Priority::Default,
                              [lookup, host, port, done = std::move(done)] { done(lookup(host, port)); });
}

void HostResolver::setLookup(Lookup lookup) {
  std::lock_guard lock(lookupMutex);
  installedLookup = std::move(lookup);
}

HostResolver::Answer HostResolver::systemLookup(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* list = nullptr;
  const int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
  Answer answer;
  if (rc != 0) {
    answer.error = StreamError::network(StreamError::kCannotFindHost,
                                        "cannot find host " + host + ": " + gai_strerror(rc));
    return answer;
  }
  for (addrinfo* item = list; item; item = item->ai_next) {
    SocketAddress address;
    if (item->ai_addrlen > address.bytes.size()) continue;
    std::memcpy(address.bytes.data(), item->ai_addr, item->ai_addrlen);
    address.length = static_cast<std::uint32_t>(item->ai_addrlen);
    answer.addresses.push_back(address);
  }
  freeaddrinfo(list);
  return answer;
}

}  // namespace pf
