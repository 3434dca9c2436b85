#pragma once
// The object store's list-taking forms of a connection's query and update: its argument lists arrive
// as one array, one value for each "?" of the SQL in order (a nil value binds NULL). Thin forwards to
// the connection's general statement runners.

#include <memory>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class SqlDatabase;
class SqlResultSet;

class SqlDatabaseKivExtensions {
 public:
  static std::shared_ptr<SqlResultSet> executeQuery(SqlDatabase& db, const std::string& sql,
                                                    const pf::Array& withVAList);
  static bool executeUpdate(SqlDatabase& db, const std::string& sql, pf::ErrorPtr* error,
                            const pf::Array& withVAList);
};
