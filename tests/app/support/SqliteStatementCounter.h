#pragma once
// Counts, while alive, the SQLite connections opened (on every thread), the statements run on them and
// their virtual-machine steps: costs a test can compare without timing anything. Only connections
// opened after it was made are seen; the store opens one per operation outside its queue mode.

#include <sqlite3.h>

#include <atomic>

class SqliteStatementCounter {
 public:
  SqliteStatementCounter() {
    connections = 0;
    statements = 0;
    steps = 0;
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&SqliteStatementCounter::onOpen));
  }
  ~SqliteStatementCounter() {
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&SqliteStatementCounter::onOpen));
  }
  SqliteStatementCounter(const SqliteStatementCounter&) = delete;
  SqliteStatementCounter& operator=(const SqliteStatementCounter&) = delete;

  static inline std::atomic<int> connections{0};
  static inline std::atomic<long> statements{0};
  static inline std::atomic<long> steps{0};

 private:
  static int onOpen(sqlite3* db, const char**, const void*) {
    ++connections;
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT | SQLITE_TRACE_PROFILE, &SqliteStatementCounter::onTrace, nullptr);
    return SQLITE_OK;
  }
  static int onTrace(unsigned event, void*, void* statement, void*) {
    if (event == SQLITE_TRACE_STMT) {
      ++statements;
    } else {
      steps += sqlite3_stmt_status(static_cast<sqlite3_stmt*>(statement), SQLITE_STMTSTATUS_VM_STEP, 0);
    }
    return 0;
  }
};
