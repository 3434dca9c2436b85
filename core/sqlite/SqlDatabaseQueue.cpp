#include "core/sqlite/SqlDatabaseQueue.h"

#include <sqlite3.h>

#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlTransaction.h"
#include "platform/foundation/Log.h"

namespace {

std::atomic<long> queueSavePointCounter{0};

pf::Value pathValue(const std::optional<std::string>& path) {
  return path ? pf::Value(*path) : pf::Value();
}

}  // namespace

SqlDatabaseQueue::Turn::Turn(SqlDatabaseQueue& queue) : queue_(queue) {
  if (queue.owner_ == std::this_thread::get_id()) {
    throw pf::ContractViolation("SqlDatabaseQueue: a block called back into its own queue");
  }
  lock_ = std::unique_lock(queue.mutex_);
  queue.owner_ = std::this_thread::get_id();
}

SqlDatabaseQueue::Turn::~Turn() {
  queue_.owner_ = std::thread::id();
}

std::shared_ptr<SqlDatabaseQueue> SqlDatabaseQueue::databaseQueueWithPath(std::optional<std::string> path) {
  std::shared_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(path);
  if (!db->open()) {
    pf::logf("Could not create database queue for path %@", pathValue(path));
    return nullptr;
  }
  return std::make_shared<SqlDatabaseQueue>(Private{}, std::move(path), std::move(db));
}

SqlDatabaseQueue::SqlDatabaseQueue(Private, std::optional<std::string> path, std::shared_ptr<SqlDatabase> db)
    : path_(std::move(path)), db_(std::move(db)) {}

std::shared_ptr<SqlDatabase> SqlDatabaseQueue::database() {
  if (!db_) {
    std::shared_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(path_);
    if (!db->open()) {
      pf::logf("SqlDatabaseQueue could not reopen database for path %@", pathValue(path_));
      return nullptr;
    }
    db_ = std::move(db);
  }
  return db_;
}

void SqlDatabaseQueue::inDatabase(const Block& block) {
  Turn turn(*this);
  std::shared_ptr<SqlDatabase> db = database();
  block(db);
  if (db && db->hasOpenResultSets()) {
    pf::logf(
        "Warning: there is at least one open result set around after performing [SqlDatabaseQueue "
        "inDatabase:]");
  }
}

bool SqlDatabaseQueue::inTransaction(const TransactionBlock& block) {
  return beginTransaction(false, block);
}

bool SqlDatabaseQueue::inDeferredTransaction(const TransactionBlock& block) {
  return beginTransaction(true, block);
}

bool SqlDatabaseQueue::beginTransaction(bool useDeferred, const TransactionBlock& withBlock) {
  Turn turn(*this);
  std::shared_ptr<SqlDatabase> db = database();
  if (!db) return false;
  return SqlTransaction::run(*db, useDeferred, [&](bool& rollback) { withBlock(db, rollback); });
}

pf::ErrorPtr SqlDatabaseQueue::inSavePoint(const TransactionBlock& block) {
  Turn turn(*this);
  std::shared_ptr<SqlDatabase> db = database();
  if (!db) {
    return pf::Error::make(
        "SqlDatabase", SQLITE_CANTOPEN,
        pf::format("SqlDatabaseQueue could not reopen database for path %@", pathValue(path_)));
  }
  const std::string name = pf::format("savePoint%ld", queueSavePointCounter++);
  return SqlTransaction::runInSavePoint(*db, name, [&](bool& rollback) { block(db, rollback); });
}

void SqlDatabaseQueue::close() {
  Turn turn(*this);
  if (db_) db_->close();
  db_ = nullptr;
}
