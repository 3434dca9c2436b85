#include "core/sqlite/SqlTransaction.h"

#include <sqlite3.h>

#include "core/sqlite/SqlDatabase.h"

namespace {

// A failed commit may leave the transaction open (SQLite only rolls back by itself on some errors).
void rollbackIfStillOpen(SqlDatabase& db) {
  if (db.sqliteHandle() && !sqlite3_get_autocommit(db.sqliteHandle())) db.rollback();
}

}  // namespace

bool SqlTransaction::run(SqlDatabase& db, bool deferred, const Block& block) {
  if (!(deferred ? db.beginDeferredTransaction() : db.beginTransaction())) return false;
  bool rollback = false;
  try {
    block(rollback);
  } catch (...) {
    rollbackIfStillOpen(db);
    throw;
  }
  if (rollback) return db.rollback();
  if (db.commit()) return true;
  rollbackIfStillOpen(db);
  return false;
}

pf::ErrorPtr SqlTransaction::runInSavePoint(SqlDatabase& db, const std::string& name, const Block& block) {
  pf::ErrorPtr error;
  if (!db.startSavePointWithName(name, &error)) return error;
  bool rollback = false;
  try {
    block(rollback);
  } catch (...) {
    db.rollbackToSavePointWithName(name, nullptr);
    db.releaseSavePointWithName(name, nullptr);
    throw;
  }
  if (rollback && !db.rollbackToSavePointWithName(name, &error)) return error;
  db.releaseSavePointWithName(name, &error);
  return error;
}
