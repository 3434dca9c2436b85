#pragma once
// One prepared statement, the unit the connection's statement cache keeps. It owns its handle and
// finalises it when closed or destroyed. The handle is also tied to the life of the connection that
// prepared it: once that connection has finalised it (closing with leaked statements), the statement
// answers no handle instead of touching freed memory.

#include <memory>
#include <string>

struct sqlite3_stmt;

class SqlStatement {
 public:
  // connectionAlive expires when the connection finalises every statement it still knows.
  SqlStatement(sqlite3_stmt* statement, std::string query, std::weak_ptr<const void> connectionAlive);
  ~SqlStatement();
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  // Finalises the handle; answers SQLite's result (0 when there was none).
  int close();
  // Resets the handle for another run; answers SQLite's result (0 when there was none).
  int reset();

  // The live handle, nullptr once closed or finalised by its connection.
  sqlite3_stmt* statement() const;
  const std::string& query() const { return query_; }
  void setQuery(std::string query) { query_ = std::move(query); }
  int useCount() const { return useCount_; }
  void setUseCount(int useCount) { useCount_ = useCount; }
  // Set while a result set steps this statement, so the cache does not hand it out twice.
  bool inUse() const { return inUse_; }
  void setInUse(bool inUse) { inUse_ = inUse; }

  std::string description() const;

 private:
  sqlite3_stmt* statement_;
  std::string query_;
  std::weak_ptr<const void> connectionAlive_;
  int useCount_ = 0;
  bool inUse_ = false;
};
