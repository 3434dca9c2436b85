#pragma once
// Runs a block inside a transaction or a savepoint of one connection and ends it the way the block
// asks through its roll-back flag. Shared by the connection, the queue and the pool so that every
// caller gets the same guarantees: a block whose transaction could not begin is not run (its writes
// would otherwise commit one by one), a failed commit is undone and reported, and a block that throws
// leaves no transaction or savepoint open behind it.

#include <functional>
#include <string>

#include "platform/foundation/Error.h"

class SqlDatabase;

class SqlTransaction {
 public:
  using Block = std::function<void(bool& rollback)>;

  // Answers false when the transaction could not begin or could not end as the block asked.
  static bool run(SqlDatabase& db, bool deferred, const Block& block);

  // Answers the error of starting the savepoint (the block is then not run) or of ending it; nullptr on
  // success. Rolling back to the savepoint also releases it, which closes the transaction it opened.
  static pf::ErrorPtr runInSavePoint(SqlDatabase& db, const std::string& name, const Block& block);
};
