#include "core/db/VelkDBConnection.h"

#include <sqlite3.h>

#include <algorithm>
#include <vector>

#include "core/db/VelkDBHelper.h"
#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlTransaction.h"
#include "platform/foundation/Error.h"

namespace {

constexpr int kBusyTimeoutMilliseconds = 10000;
constexpr char kSavePointName[] = "velk_store";

struct LentConnection {
  const VelkDBHelper* store;
  std::weak_ptr<SqlDatabase> db;
};

// The calling thread's queue connections, innermost last.
std::vector<LentConnection>& lentConnections() {
  thread_local std::vector<LentConnection> lent;
  return lent;
}

const LentConnection* lentTo(const VelkDBHelper& store) {
  const auto& lent = lentConnections();
  const auto found =
      std::find_if(lent.rbegin(), lent.rend(), [&](const LentConnection& c) { return c.store == &store; });
  return found == lent.rend() ? nullptr : &*found;
}

}  // namespace

VelkDBConnection::QueueMode::QueueMode(const VelkDBHelper& store, const std::shared_ptr<SqlDatabase>& db) {
  lentConnections().push_back({&store, db});
}

VelkDBConnection::QueueMode::~QueueMode() {
  lentConnections().pop_back();
}

bool VelkDBConnection::inQueueMode(const VelkDBHelper& store) {
  return lentTo(store) != nullptr;
}

VelkDBConnection::VelkDBConnection(const VelkDBHelper& store) {
  if (const LentConnection* lent = lentTo(store)) {
    db_ = lent->db.lock();
    if (!db_) throw pf::ContractViolation("you must set ququeConn before using!");
    return;
  }
  db_ = SqlDatabase::databaseWithPath(store.dbPath());
  owned_ = true;
  db_->setTraceExecution(store.showSql());
  db_->setLogsErrors(store.showError());
  // A failed open shows in the statements, which answer false or nil on a closed connection.
  if (db_->open()) prepare(*db_, store);
}

VelkDBConnection::~VelkDBConnection() {
  if (owned_) db_->close();
}

bool VelkDBConnection::inTransaction(const std::function<void(bool& rollback)>& block) const {
  sqlite3* handle = db_->sqliteHandle();
  if (handle && !sqlite3_get_autocommit(handle)) {
    return SqlTransaction::runInSavePoint(*db_, kSavePointName, block) == nullptr;
  }
  return SqlTransaction::run(*db_, false, block);
}

int VelkDBConnection::maxArguments() const {
  sqlite3* handle = db_->sqliteHandle();
  return handle ? sqlite3_limit(handle, SQLITE_LIMIT_VARIABLE_NUMBER, -1) : 999;
}

void VelkDBConnection::prepare(SqlDatabase& db, const VelkDBHelper& store) {
  sqlite3* handle = db.sqliteHandle();
  if (!handle) return;
  sqlite3_busy_timeout(handle, kBusyTimeoutMilliseconds);
  if (store.journalReady_.load()) return;
  if (sqlite3_exec(handle, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) == SQLITE_OK) {
    store.journalReady_ = true;
  }
}
