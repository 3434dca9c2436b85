#include "core/http/ConnectionPool.h"

#include <algorithm>

ConnectionPool& ConnectionPool::shared() {
  // Never destroyed: streams kept for reuse must not close during exit, after the platform's own
  // process-wide state is gone.
  static ConnectionPool* const pool = new ConnectionPool;
  return *pool;
}

std::vector<std::shared_ptr<pf::HttpReadStream>> ConnectionPool::removeExpired(double now) {
  std::vector<std::shared_ptr<pf::HttpReadStream>> closing;
  std::erase_if(records_, [&](const std::shared_ptr<ConnectionRecord>& record) {
    if (record->request || (record->expires && *record->expires > now)) return false;
    if (record->stream) closing.push_back(record->stream);
    return true;
  });
  return closing;
}

std::shared_ptr<ConnectionRecord> ConnectionPool::lastIdleRecord(const std::string& scheme,
                                                                 const std::string& host, int port) const {
  std::shared_ptr<ConnectionRecord> found;
  for (const auto& record : records_) {
    if (!record->request && record->scheme == scheme && record->host == host && record->port == port) {
      found = record;
    }
  }
  return found;
}

std::shared_ptr<ConnectionRecord> ConnectionPool::addRecord(const std::string& scheme,
                                                            const std::string& host, int port) {
  auto record = std::make_shared<ConnectionRecord>();
  record->id = ++lastConnectionNumber_;
  record->scheme = scheme;
  record->host = host;
  record->port = port;
  records_.push_back(record);
  return record;
}

void ConnectionPool::removeRecord(const std::shared_ptr<ConnectionRecord>& record) {
  std::erase(records_, record);
}

bool ConnectionPool::contains(const std::shared_ptr<ConnectionRecord>& record) const {
  return std::find(records_.begin(), records_.end(), record) != records_.end();
}

unsigned ConnectionPool::streamUnscheduled() {
  const unsigned before = openStreamCount_;
  if (openStreamCount_ > 0) --openStreamCount_;
  return before;
}
