#include "core/db/SqlDatabaseKivExtensions.h"

#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlResultSet.h"

std::shared_ptr<SqlResultSet> SqlDatabaseKivExtensions::executeQuery(SqlDatabase& db, const std::string& sql,
                                                                     const pf::Array& withVAList) {
  return db.executeQuery(sql, nullptr, nullptr, &withVAList);
}

bool SqlDatabaseKivExtensions::executeUpdate(SqlDatabase& db, const std::string& sql, pf::ErrorPtr* error,
                                             const pf::Array& withVAList) {
  return db.executeUpdate(sql, error, nullptr, nullptr, &withVAList);
}
