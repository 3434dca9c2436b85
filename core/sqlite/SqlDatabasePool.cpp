#include "core/sqlite/SqlDatabasePool.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>

#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlDatabasePoolDelegate.h"
#include "core/sqlite/SqlTransaction.h"
#include "platform/foundation/Log.h"

namespace {

std::atomic<long> poolSavePointCounter{0};

bool contains(const std::vector<std::shared_ptr<SqlDatabase>>& list, const std::shared_ptr<SqlDatabase>& db) {
  return std::find(list.begin(), list.end(), db) != list.end();
}

}  // namespace

std::shared_ptr<SqlDatabasePool> SqlDatabasePool::databasePoolWithPath(std::optional<std::string> path) {
  return std::make_shared<SqlDatabasePool>(Private{}, std::move(path));
}

SqlDatabasePool::SqlDatabasePool(Private, std::optional<std::string> path) : path_(std::move(path)) {}

std::shared_ptr<SqlDatabasePoolDelegate> SqlDatabasePool::delegate() const {
  std::lock_guard lock(lock_);
  return delegate_.lock();
}

void SqlDatabasePool::setDelegate(std::weak_ptr<SqlDatabasePoolDelegate> delegate) {
  std::lock_guard lock(lock_);
  delegate_ = std::move(delegate);
}

std::uint32_t SqlDatabasePool::maximumNumberOfDatabasesToCreate() const {
  std::lock_guard lock(lock_);
  return maximumNumberOfDatabasesToCreate_;
}

void SqlDatabasePool::setMaximumNumberOfDatabasesToCreate(std::uint32_t maximum) {
  std::lock_guard lock(lock_);
  maximumNumberOfDatabasesToCreate_ = maximum;
}

std::shared_ptr<SqlDatabase> SqlDatabasePool::db() {
  std::lock_guard lock(lock_);
  if (!databaseInPool_.empty()) {
    std::shared_ptr<SqlDatabase> db = databaseInPool_.back();
    databaseInPool_.pop_back();
    return admit(db, false) ? db : nullptr;
  }
  const size_t open = databaseInPool_.size() + databaseOutPool_.size();
  if (maximumNumberOfDatabasesToCreate_ != 0 && open >= maximumNumberOfDatabasesToCreate_) {
    pf::logf("Maximum number of databases (%ld) has already been reached!", static_cast<long>(open));
    return nullptr;
  }
  std::shared_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(path_);
  return admit(db, true) ? db : nullptr;
}

// Opens the connection, asks the delegate about a new one and files it as handed out.
bool SqlDatabasePool::admit(const std::shared_ptr<SqlDatabase>& db, bool isNew) {
  if (!db->open()) {
    pf::logf("Could not open up the database at path %@", path_ ? pf::Value(*path_) : pf::Value());
    return false;
  }
  std::shared_ptr<SqlDatabasePoolDelegate> delegate = delegate_.lock();
  if (isNew && delegate && !delegate->databasePool(*this, db)) {
    db->close();
    return false;
  }
  if (!contains(databaseOutPool_, db)) databaseOutPool_.push_back(db);
  return true;
}

void SqlDatabasePool::pushDatabaseBackInPool(const std::shared_ptr<SqlDatabase>& db) {
  if (!db) return;
  std::lock_guard lock(lock_);
  if (contains(databaseInPool_, db)) {
    throw pf::ContractViolation("The SqlDatabase being put back into the pool is already present in the pool",
                                "Database already in pool");
  }
  databaseInPool_.push_back(db);
  std::erase(databaseOutPool_, db);
}

void SqlDatabasePool::inDatabase(const Block& block) {
  std::shared_ptr<SqlDatabase> db = this->db();
  try {
    block(db);
  } catch (...) {
    pushDatabaseBackInPool(db);
    throw;
  }
  pushDatabaseBackInPool(db);
}

bool SqlDatabasePool::inTransaction(const TransactionBlock& block) {
  return beginTransaction(false, block);
}

bool SqlDatabasePool::inDeferredTransaction(const TransactionBlock& block) {
  return beginTransaction(true, block);
}

bool SqlDatabasePool::beginTransaction(bool useDeferred, const TransactionBlock& withBlock) {
  bool ok = false;
  inDatabase([&](const std::shared_ptr<SqlDatabase>& db) {
    if (db) ok = SqlTransaction::run(*db, useDeferred, [&](bool& rollback) { withBlock(db, rollback); });
  });
  return ok;
}

pf::ErrorPtr SqlDatabasePool::inSavePoint(const TransactionBlock& block) {
  pf::ErrorPtr error;
  inDatabase([&](const std::shared_ptr<SqlDatabase>& db) {
    if (!db) {
      error = pf::Error::make("SqlDatabase", SQLITE_CANTOPEN, "The pool could not hand out a database");
      return;
    }
    const std::string name = pf::format("savePoint%ld", poolSavePointCounter++);
    error = SqlTransaction::runInSavePoint(*db, name, [&](bool& rollback) { block(db, rollback); });
  });
  return error;
}

size_t SqlDatabasePool::countOfCheckedInDatabases() {
  std::lock_guard lock(lock_);
  return databaseInPool_.size();
}

size_t SqlDatabasePool::countOfCheckedOutDatabases() {
  std::lock_guard lock(lock_);
  return databaseOutPool_.size();
}

size_t SqlDatabasePool::countOfOpenDatabases() {
  std::lock_guard lock(lock_);
  return databaseInPool_.size() + databaseOutPool_.size();
}

void SqlDatabasePool::releaseAllDatabases() {
  std::lock_guard lock(lock_);
  databaseInPool_.clear();
  databaseOutPool_.clear();
}

void SqlDatabasePool::executeLocked(const std::function<void()>& block) {
  std::lock_guard lock(lock_);
  block();
}
