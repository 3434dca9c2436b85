#pragma once
// Shares one connection between threads: every piece of work runs on the queue's connection, one at a
// time, on the calling thread, which waits for its turn. A block must not call back into the same queue;
// doing so throws ContractViolation instead of waiting on itself.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/foundation/Error.h"

class SqlDatabase;

class SqlDatabaseQueue {
  struct Private {};

 public:
  using Block = std::function<void(const std::shared_ptr<SqlDatabase>& db)>;
  using TransactionBlock = std::function<void(const std::shared_ptr<SqlDatabase>& db, bool& rollback)>;

  // nullptr (after a log line) when the database cannot be opened.
  static std::shared_ptr<SqlDatabaseQueue> databaseQueueWithPath(std::optional<std::string> path);
  SqlDatabaseQueue(Private, std::optional<std::string> path, std::shared_ptr<SqlDatabase> db);
  SqlDatabaseQueue(const SqlDatabaseQueue&) = delete;
  SqlDatabaseQueue& operator=(const SqlDatabaseQueue&) = delete;

  const std::optional<std::string>& path() const { return path_; }

  // The block receives nullptr when the connection, closed before, cannot be opened again.
  void inDatabase(const Block& block);
  // Answer false when the transaction could not begin (the block is then not run) or could not be
  // committed or rolled back as the block asked.
  bool inTransaction(const TransactionBlock& block);
  bool inDeferredTransaction(const TransactionBlock& block);
  bool beginTransaction(bool useDeferred, const TransactionBlock& withBlock);
  // The error of starting or ending the savepoint; nullptr on success.
  pf::ErrorPtr inSavePoint(const TransactionBlock& block);
  // Closes the connection; the next piece of work opens it again.
  void close();

 private:
  // One caller's turn on the connection.
  class Turn {
   public:
    explicit Turn(SqlDatabaseQueue& queue);
    ~Turn();
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;

   private:
    SqlDatabaseQueue& queue_;
    std::unique_lock<std::mutex> lock_;
  };

  std::shared_ptr<SqlDatabase> database();

  std::optional<std::string> path_;
  std::mutex mutex_;
  std::atomic<std::thread::id> owner_;
  std::shared_ptr<SqlDatabase> db_;
};
