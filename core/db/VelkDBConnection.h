#pragma once
// The connection one object-store operation runs on. While the calling thread runs a queue block of the
// store (QueueMode), that is the block's connection, borrowed as it is; otherwise it is a connection of
// the operation's own, opened here and closed when the operation ends. Queue mode belongs to the thread
// that entered it: other threads keep opening their own connections meanwhile, so they never run inside
// that thread's transaction, never close its connection and never find it busy.

#include <functional>
#include <memory>

class SqlDatabase;
class VelkDBHelper;

class VelkDBConnection {
 public:
  // Lends db to the calling thread's operations on the store until the scope ends; scopes nest.
  class QueueMode {
   public:
    QueueMode(const VelkDBHelper& store, const std::shared_ptr<SqlDatabase>& db);
    ~QueueMode();
    QueueMode(const QueueMode&) = delete;
    QueueMode& operator=(const QueueMode&) = delete;
  };

  static bool inQueueMode(const VelkDBHelper& store);

  // In queue mode a lent connection that is gone is a contract fault.
  explicit VelkDBConnection(const VelkDBHelper& store);
  ~VelkDBConnection();
  VelkDBConnection(const VelkDBConnection&) = delete;
  VelkDBConnection& operator=(const VelkDBConnection&) = delete;

  SqlDatabase& db() const { return *db_; }

  // Runs the block in an exclusive transaction, or in a savepoint when the connection is already inside a
  // transaction; false when it could not begin or could not end as the block asked.
  bool inTransaction(const std::function<void(bool& rollback)>& block) const;
  // How many "?" one statement of this connection may take.
  int maxArguments() const;

  // Waits for other connections' locks through SQLite's busy handler; the store's first connection also
  // switches the file to write-ahead logging, so readers need not wait for a writer.
  static void prepare(SqlDatabase& db, const VelkDBHelper& store);

 private:
  std::shared_ptr<SqlDatabase> db_;
  bool owned_ = false;
};
