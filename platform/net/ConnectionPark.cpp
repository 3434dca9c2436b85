#include "platform/net/ConnectionPark.h"

#include <algorithm>

namespace pf {

ConnectionPark& ConnectionPark::shared() {
  static ConnectionPark park;
  return park;
}

void ConnectionPark::park(int streamId, std::string server, std::unique_ptr<SocketConnection> connection,
                          std::uint64_t owner) {
  std::vector<Entry> closing;
  std::lock_guard lock(mutex_);
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->streamId == streamId) {
      closing.push_back(std::move(*it));
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
  removeStale(closing);
  if (entries_.size() >= kMaxParked) {
    closing.push_back(std::move(entries_.front()));
    entries_.erase(entries_.begin());
  }
  entries_.push_back(
      Entry{streamId, std::move(server), std::move(connection), owner, std::chrono::steady_clock::now()});
}

std::unique_ptr<SocketConnection> ConnectionPark::take(int streamId, const std::string& server) {
  std::vector<Entry> closing;
  std::unique_ptr<SocketConnection> connection;
  {
    std::lock_guard lock(mutex_);
    removeStale(closing);
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.streamId == streamId && e.server == server; });
    if (it == entries_.end()) return nullptr;
    connection = std::move(it->connection);
    entries_.erase(it);
  }
  if (!connection->isIdleAndOpen()) return nullptr;
  return connection;
}

void ConnectionPark::discard(std::uint64_t owner) {
  std::vector<Entry> closing;
  std::lock_guard lock(mutex_);
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->owner == owner) {
      closing.push_back(std::move(*it));
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

void ConnectionPark::removeStale(std::vector<Entry>& closing) {
  const auto limit =
      std::chrono::steady_clock::now() - std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                             std::chrono::duration<double>(kMaxIdleSeconds));
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->parkedAt < limit) {
      closing.push_back(std::move(*it));
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace pf
