#pragma once
// Hands out open connections to one database file and takes them back for reuse, so that several
// threads can each work on a connection of their own. The two lists are guarded by the pool's lock;
// a connection handed out is used without it, by one thread. The delegate and blocks given to
// executeLocked run under the lock and must not call back into the pool.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"

class SqlDatabase;
class SqlDatabasePoolDelegate;

class SqlDatabasePool {
  struct Private {};

 public:
  using Block = std::function<void(const std::shared_ptr<SqlDatabase>& db)>;
  using TransactionBlock = std::function<void(const std::shared_ptr<SqlDatabase>& db, bool& rollback)>;

  static std::shared_ptr<SqlDatabasePool> databasePoolWithPath(std::optional<std::string> path);
  SqlDatabasePool(Private, std::optional<std::string> path);
  SqlDatabasePool(const SqlDatabasePool&) = delete;
  SqlDatabasePool& operator=(const SqlDatabasePool&) = delete;

  const std::optional<std::string>& path() const { return path_; }
  std::shared_ptr<SqlDatabasePoolDelegate> delegate() const;
  void setDelegate(std::weak_ptr<SqlDatabasePoolDelegate> delegate);
  // 0 means no limit.
  std::uint32_t maximumNumberOfDatabasesToCreate() const;
  void setMaximumNumberOfDatabasesToCreate(std::uint32_t maximum);

  // An open connection, or nullptr when the limit is reached, opening fails or the delegate refuses.
  std::shared_ptr<SqlDatabase> db();
  // Throws ContractViolation named "Database already in pool" when the connection is already idle.
  void pushDatabaseBackInPool(const std::shared_ptr<SqlDatabase>& db);

  void inDatabase(const Block& block);
  // Answer false when no connection could be had, the transaction could not begin (the block is then
  // not run) or could not be committed or rolled back as the block asked.
  bool inTransaction(const TransactionBlock& block);
  bool inDeferredTransaction(const TransactionBlock& block);
  bool beginTransaction(bool useDeferred, const TransactionBlock& withBlock);
  pf::ErrorPtr inSavePoint(const TransactionBlock& block);

  size_t countOfCheckedInDatabases();
  size_t countOfCheckedOutDatabases();
  size_t countOfOpenDatabases();
  // Forgets every connection; each closes when its last user lets it go.
  void releaseAllDatabases();
  void executeLocked(const std::function<void()>& block);

 private:
  bool admit(const std::shared_ptr<SqlDatabase>& db, bool isNew);

  std::optional<std::string> path_;
  mutable std::mutex lock_;
  std::vector<std::shared_ptr<SqlDatabase>> databaseInPool_;
  std::vector<std::shared_ptr<SqlDatabase>> databaseOutPool_;
  std::weak_ptr<SqlDatabasePoolDelegate> delegate_;
  std::uint32_t maximumNumberOfDatabasesToCreate_ = 0;
};
