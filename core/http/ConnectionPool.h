#pragma once
// The process-wide pool of server connections that requests share (HTTP keep-alive): the records, the
// counters that number connections and requests, and the count of streams now scheduled, which the
// network activity indicator follows. One recursive guard covers all of it; the members below expect it
// held. Streams are never closed under the guard: removeExpired hands them back for closing after it.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/http/ConnectionRecord.h"

class ConnectionPool {
 public:
  static ConnectionPool& shared();

  std::recursive_mutex& guard() { return poolGuard_; }

  // Drops idle records whose "expires" is not in the future (or missing); answers their streams.
  std::vector<std::shared_ptr<pf::HttpReadStream>> removeExpired(double now);
  // The idle record for that server that comes last in the pool; nullptr when there is none.
  std::shared_ptr<ConnectionRecord> lastIdleRecord(const std::string& scheme, const std::string& host,
                                                   int port) const;
  // A new record with the next connection number, appended to the pool.
  std::shared_ptr<ConnectionRecord> addRecord(const std::string& scheme, const std::string& host, int port);
  void removeRecord(const std::shared_ptr<ConnectionRecord>& record);
  bool contains(const std::shared_ptr<ConnectionRecord>& record) const;
  const std::vector<std::shared_ptr<ConnectionRecord>>& records() const { return records_; }
  // Request numbers start at 1.
  unsigned nextRequestNumber() { return ++lastRequestNumber_; }

  // The count after one more stream was scheduled.
  unsigned streamScheduled() { return ++openStreamCount_; }
  // The count before one stream was unscheduled.
  unsigned streamUnscheduled();
  unsigned openStreamCount() const { return openStreamCount_; }
  bool shouldUpdateNetworkActivityIndicator = true;

 private:
  std::recursive_mutex poolGuard_;
  std::vector<std::shared_ptr<ConnectionRecord>> records_;
  int lastConnectionNumber_ = 0;
  unsigned lastRequestNumber_ = 0;
  unsigned openStreamCount_ = 0;
};
