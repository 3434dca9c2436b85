#include "core/sqlite/SqlStatement.h"

#include <sqlite3.h>

#include <cstdio>

#include "platform/foundation/Format.h"

SqlStatement::SqlStatement(sqlite3_stmt* statement, std::string query,
                           std::weak_ptr<const void> connectionAlive)
    : statement_(statement), query_(std::move(query)), connectionAlive_(std::move(connectionAlive)) {}

SqlStatement::~SqlStatement() {
  close();
}

int SqlStatement::close() {
  sqlite3_stmt* handle = statement();
  statement_ = nullptr;
  return handle ? sqlite3_finalize(handle) : SQLITE_OK;
}

int SqlStatement::reset() {
  sqlite3_stmt* handle = statement();
  return handle ? sqlite3_reset(handle) : SQLITE_OK;
}

sqlite3_stmt* SqlStatement::statement() const {
  return connectionAlive_.expired() ? nullptr : statement_;
}

std::string SqlStatement::description() const {
  char self[48];
  std::snprintf(self, sizeof self, "<SqlStatement: %p>", static_cast<const void*>(this));
  return pf::format("%@ %ld hit(s) for query %@", std::string(self), useCount_, query_);
}
