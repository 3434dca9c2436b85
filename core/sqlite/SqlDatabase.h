#pragma once
// One connection to one SQLite database file; every SQL statement of the program passes through a
// connection. Queries answer a result set (SqlResultSet), updates answer success; values always go to
// "?" or ":name" placeholders and are never written into SQL text. Busy or locked answers of other
// connections are retried (SqlBusyRetry), without end unless busyRetryTimeout is set.
//
// Threads: a connection serves one thread at a time. The in-use flag catches overlapping calls and
// refuses them with a warning; share a file between threads with SqlDatabaseQueue, a pool, or one
// connection per operation. Always owned by a shared_ptr (databaseWithPath): result sets keep their
// connection alive until they close.

#include <atomic>
#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/sqlite/SqlTextHash.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_context;
struct sqlite3_value;

class SqlDateFormatter;
class SqlResultSet;
class SqlStatement;

// Arguments that can stand for one SQL value each.
template <typename... Args>
concept SqlArguments = (std::convertible_to<const Args&, pf::Value> && ...);

// The values of a variable argument list, built in place (an initializer list would copy each one).
template <typename... Args>
requires SqlArguments<Args...> pf::Array sqlArgumentList(const Args&... args) {
  pf::Array list;
  list.reserve(sizeof...(Args));
  (list.emplace_back(args), ...);
  return list;
}

class SqlDatabase : public std::enable_shared_from_this<SqlDatabase> {
  struct Private {};

 public:
  using SqlFunction = std::function<void(sqlite3_context* context, int argc, sqlite3_value** argv)>;
  using SavePointBlock = std::function<void(bool& rollback)>;
  using StatementCache =
      std::unordered_map<std::string, std::shared_ptr<SqlStatement>, SqlTextHash, std::equal_to<>>;

  // A closed connection; no path means an in-memory database, an empty path a temporary one.
  static std::shared_ptr<SqlDatabase> databaseWithPath(std::optional<std::string> path);
  SqlDatabase(Private, std::optional<std::string> path);
  ~SqlDatabase();
  SqlDatabase(const SqlDatabase&) = delete;
  SqlDatabase& operator=(const SqlDatabase&) = delete;

  // Life of the connection.
  bool open();
  // Opening an already open connection answers true at once and keeps the open handle.
  bool openWithFlags(int flags);
  bool close();
  std::string sqlitePath() const;
  const std::optional<std::string>& databasePath() const { return databasePath_; }
  sqlite3* sqliteHandle() const { return db_; }
  bool goodConnection();
  bool databaseExists() const;
  static std::string sqliteLibVersion();
  static bool isSQLiteThreadSafe();
  // Encrypted databases are not supported: these always answer false.
  bool setKey(const std::string& key);
  bool rekey(const std::string& key);
  bool setKeyWithData(const pf::Data& keyData);
  bool rekeyWithData(const pf::Data& keyData);

  // Settings.
  bool traceExecution() const { return traceExecution_; }
  void setTraceExecution(bool value) { traceExecution_ = value; }
  bool checkedOut() const { return checkedOut_; }
  void setCheckedOut(bool value) { checkedOut_ = value; }
  int busyRetryTimeout() const { return busyRetryTimeout_; }
  void setBusyRetryTimeout(int value) { busyRetryTimeout_ = value; }
  bool crashOnErrors() const { return crashOnErrors_; }
  void setCrashOnErrors(bool value) { crashOnErrors_ = value; }
  bool logsErrors() const { return logsErrors_; }
  void setLogsErrors(bool value) { logsErrors_ = value; }

  // Queries: nullptr when the connection is closed or busy with another call, or the SQL or the
  // arguments are wrong (the reason is in lastErrorMessage or the log).
  template <typename... Args>
  requires SqlArguments<Args...> std::shared_ptr<SqlResultSet> executeQuery(std::string_view sql,
                                                                            const Args&... args) {
    const pf::Array list = sqlArgumentList(args...);
    return executeQuery(sql, nullptr, nullptr, &list);
  }
  std::shared_ptr<SqlResultSet> executeQuery(std::string_view sql, const pf::Array& withArgumentsInArray);
  std::shared_ptr<SqlResultSet> executeQuery(std::string_view sql,
                                             const pf::Dictionary& withParameterDictionary);
  template <typename... Args>
  requires SqlArguments<Args...> std::shared_ptr<SqlResultSet> executeQueryWithFormat(std::string_view format,
                                                                                      const Args&... args) {
    return executeQueryWithFormat(format, sqlArgumentList(args...));
  }
  std::shared_ptr<SqlResultSet> executeQueryWithFormat(std::string_view format, const pf::Array& arguments);
  // The worker of every query; each argument source may be absent.
  std::shared_ptr<SqlResultSet> executeQuery(std::string_view sql, const pf::Array* withArgumentsInArray,
                                             const pf::Dictionary* orDictionary, const pf::Array* orVAList);

  // Updates: true when the statement ran to its end.
  template <typename... Args>
  requires SqlArguments<Args...>
  bool executeUpdate(std::string_view sql, const Args&... args) {
    const pf::Array list = sqlArgumentList(args...);
    return executeUpdate(sql, nullptr, nullptr, nullptr, &list);
  }
  bool executeUpdate(std::string_view sql, const pf::Array& withArgumentsInArray);
  bool executeUpdate(std::string_view sql, const pf::Dictionary& withParameterDictionary);
  template <typename... Args>
  requires SqlArguments<Args...>
  bool executeUpdateWithFormat(std::string_view format, const Args&... args) {
    return executeUpdateWithFormat(format, sqlArgumentList(args...));
  }
  bool executeUpdateWithFormat(std::string_view format, const pf::Array& arguments);
  // Also fills withErrorAndBindings (when given) when the SQL cannot be prepared.
  template <typename... Args>
  requires SqlArguments<Args...>
  bool update(std::string_view sql, pf::ErrorPtr* withErrorAndBindings, const Args&... args) {
    const pf::Array list = sqlArgumentList(args...);
    return executeUpdate(sql, withErrorAndBindings, nullptr, nullptr, &list);
  }
  // The worker of every update. Throws ContractViolation when the SQL yields rows (a query run as an
  // update); the connection is released first.
  bool executeUpdate(std::string_view sql, pf::ErrorPtr* error, const pf::Array* withArgumentsInArray,
                     const pf::Dictionary* orDictionary, const pf::Array* orVAList);

  // Turns a printf-like format into SQL with "?" placeholders and the arguments they take, one per
  // conversion ("%@" of a nil value writes NULL instead).
  static void extractSQL(std::string_view sql, const pf::Array& argumentsList, std::string& intoString,
                         pf::Array& arguments);

  // State and errors.
  std::string lastErrorMessage() const;
  int lastErrorCode() const;
  bool hadError() const;
  pf::ErrorPtr errorWithMessage(const std::string& message) const;
  pf::ErrorPtr lastError() const;
  std::int64_t lastInsertRowId() const;
  int changes() const;
  bool inTransaction() const { return inTransaction_; }
  std::string description() const;

  // Result sets handed out and not yet closed; the connection knows them without owning them.
  bool hasOpenResultSets() const;
  void closeOpenResultSets();
  void resultSetDidClose(const SqlResultSet* resultSet);

  // The statement cache, keyed by the exact SQL text.
  bool shouldCacheStatements() const { return shouldCacheStatements_; }
  void setShouldCacheStatements(bool value);
  const StatementCache& cachedStatements() const { return cachedStatements_; }
  void clearCachedStatements();
  std::shared_ptr<SqlStatement> cachedStatementForQuery(std::string_view query) const;
  void setCachedStatement(const std::shared_ptr<SqlStatement>& statement, std::string_view forQuery);

  // Dates are stored as seconds since 1970 unless a formatter is set; then as its text.
  void setDateFormat(std::shared_ptr<SqlDateFormatter> format) { dateFormat_ = std::move(format); }
  bool hasDateFormatter() const { return dateFormat_ != nullptr; }
  std::optional<pf::Date> dateFromString(const std::string& text) const;
  std::optional<std::string> stringFromDate(pf::Date date) const;
  static std::shared_ptr<SqlDateFormatter> storeableDateFormat(const std::string& format);

  // Registers an SQL function on the open connection; the connection keeps the block.
  void makeFunctionNamed(const std::string& name, int maximumArguments, SqlFunction withBlock);

  // Transactions and savepoints.
  bool beginTransaction();
  bool beginDeferredTransaction();
  bool commit();
  bool rollback();
  bool startSavePointWithName(const std::string& name, pf::ErrorPtr* error);
  bool releaseSavePointWithName(const std::string& name, pf::ErrorPtr* error);
  bool rollbackToSavePointWithName(const std::string& name, pf::ErrorPtr* error);
  // Runs the block inside a fresh savepoint; answers the error of starting or ending it, nullptr on success.
  pf::ErrorPtr inSavePoint(const SavePointBlock& block);

  // Single values: column 0 of the first row, or nullopt / 0 / false when no row comes.
  template <typename... Args>
  requires SqlArguments<Args...> std::optional<std::string> stringForQuery(std::string_view sql,
                                                                           const Args&... args) {
    return stringForQuery(sql, sqlArgumentList(args...));
  }
  std::optional<std::string> stringForQuery(std::string_view sql, const pf::Array& arguments);
  template <typename... Args>
  requires SqlArguments<Args...>
  int intForQuery(std::string_view sql, const Args&... args) {
    return intForQuery(sql, sqlArgumentList(args...));
  }
  int intForQuery(std::string_view sql, const pf::Array& arguments);
  // The value cut to 32 bits, as longForColumnIndex reads it.
  template <typename... Args>
  requires SqlArguments<Args...> std::int32_t longForQuery(std::string_view sql, const Args&... args) {
    return longForQuery(sql, sqlArgumentList(args...));
  }
  std::int32_t longForQuery(std::string_view sql, const pf::Array& arguments);
  template <typename... Args>
  requires SqlArguments<Args...>
  bool boolForQuery(std::string_view sql, const Args&... args) {
    return boolForQuery(sql, sqlArgumentList(args...));
  }
  bool boolForQuery(std::string_view sql, const pf::Array& arguments);
  template <typename... Args>
  requires SqlArguments<Args...>
  double doubleForQuery(std::string_view sql, const Args&... args) {
    return doubleForQuery(sql, sqlArgumentList(args...));
  }
  double doubleForQuery(std::string_view sql, const pf::Array& arguments);
  template <typename... Args>
  requires SqlArguments<Args...> std::optional<pf::Data> dataForQuery(std::string_view sql,
                                                                      const Args&... args) {
    return dataForQuery(sql, sqlArgumentList(args...));
  }
  std::optional<pf::Data> dataForQuery(std::string_view sql, const pf::Array& arguments);
  template <typename... Args>
  requires SqlArguments<Args...> std::optional<pf::Date> dateForQuery(std::string_view sql,
                                                                      const Args&... args) {
    return dateForQuery(sql, sqlArgumentList(args...));
  }
  std::optional<pf::Date> dateForQuery(std::string_view sql, const pf::Array& arguments);

  // Schema checks; table and column names compare without regard to case.
  bool tableExists(const std::string& tableName);
  std::shared_ptr<SqlResultSet> getSchema();
  std::shared_ptr<SqlResultSet> getTableSchema(const std::string& tableName);
  bool columnExists(const std::string& columnName, const std::string& inTableWithName);
  // Prepares the SQL without running it; on failure fills error (when given) with SQLite's reason.
  bool validateSQL(std::string_view sql, pf::ErrorPtr* error);

 private:
  template <typename T>
  T firstValue(std::string_view sql, const pf::Array& arguments, T none,
               const std::function<T(SqlResultSet&)>& read);
  std::shared_ptr<SqlStatement> takeCachedStatement(std::string_view sql);
  std::shared_ptr<SqlStatement> prepare(std::string_view sql, const char* operation, pf::ErrorPtr* error);
  // copyValues: whether SQLite must copy text and blobs (a query's rows are stepped after the call).
  int bindArguments(sqlite3_stmt* statement, const pf::Array* arrayArgs, const pf::Dictionary* dictionaryArgs,
                    const pf::Array* vaList, bool copyValues);
  int bindObject(const pf::Value& object, int toColumn, sqlite3_stmt* inStatement, bool copyValues);
  int stepUpdate(sqlite3_stmt* statement);
  void finishUpdate(const std::shared_ptr<SqlStatement>& statement, bool fromCache, std::string_view sql);
  void registerResultSet(const std::shared_ptr<SqlResultSet>& resultSet);
  bool finishOpen(int rc, sqlite3* handle);
  void setHandle(sqlite3* db);
  void finalizeLeakedStatements();
  void warnInUse() const;
  void crash() const;
  pf::Value pathValue() const;

  sqlite3* db_ = nullptr;
  // Alive exactly as long as the statements of db_ are; statements check it before touching their handle.
  std::shared_ptr<const void> handleAlive_;
  std::optional<std::string> databasePath_;
  std::atomic<bool> logsErrors_{false};
  std::atomic<bool> crashOnErrors_{false};
  std::atomic<bool> traceExecution_{false};
  std::atomic<bool> checkedOut_{false};
  bool shouldCacheStatements_ = false;
  std::atomic<bool> isExecutingStatement_{false};
  bool inTransaction_ = false;
  std::atomic<int> busyRetryTimeout_{0};
  StatementCache cachedStatements_;
  // The entry of the last cache hit: a loop running one SQL text finds it again without hashing.
  mutable const StatementCache::value_type* lastCacheHit_ = nullptr;
  // Result sets close from whichever thread drops them, so their list has its own lock.
  mutable std::mutex openResultSetsMutex_;
  std::unordered_map<const SqlResultSet*, std::weak_ptr<SqlResultSet>> openResultSets_;
  std::vector<std::unique_ptr<SqlFunction>> openFunctions_;
  std::shared_ptr<SqlDateFormatter> dateFormat_;
};
