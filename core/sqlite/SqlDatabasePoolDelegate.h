#pragma once
// Lets the owner of a pool refuse connections the pool has just opened.

#include <memory>

class SqlDatabase;
class SqlDatabasePool;

class SqlDatabasePoolDelegate {
 public:
  virtual ~SqlDatabasePoolDelegate() = default;

  // false closes the new connection and the pool hands out nothing.
  virtual bool databasePool(SqlDatabasePool& pool,
                            const std::shared_ptr<SqlDatabase>& shouldAddDatabaseToPool) {
    (void)pool;
    (void)shouldAddDatabaseToPool;
    return true;
  }
};
