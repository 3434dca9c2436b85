#include "core/sqlite/SqlDatabase.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

#include "core/sqlite/SqlBusyRetry.h"
#include "core/sqlite/SqlDateFormatter.h"
#include "core/sqlite/SqlResultSet.h"
#include "core/sqlite/SqlStatement.h"
#include "core/sqlite/SqlTransaction.h"
#include "platform/foundation/Log.h"

namespace {

bool isBusy(int rc) {
  return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

// Holds the in-use flag for one statement and clears it on every way out, exceptions included.
class InUseScope {
 public:
  explicit InUseScope(std::atomic<bool>& flag) : flag_(flag), acquired_(!flag.exchange(true)) {}
  ~InUseScope() {
    if (acquired_) flag_ = false;
  }
  InUseScope(const InUseScope&) = delete;
  InUseScope& operator=(const InUseScope&) = delete;
  explicit operator bool() const { return acquired_; }

 private:
  std::atomic<bool>& flag_;
  bool acquired_;
};

// Savepoint names cannot be bound, so they are written as quoted identifiers with quotes doubled.
std::string quotedName(const std::string& name) {
  std::string quoted = "'";
  for (char c : name) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

void callFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  auto* block = static_cast<SqlDatabase::SqlFunction*>(sqlite3_user_data(context));
  try {
    (*block)(context, argc, argv);
  } catch (const std::exception& e) {
    sqlite3_result_error(context, e.what(), -1);
  }
}

std::atomic<long> savePointCounter{0};

}  // namespace

std::shared_ptr<SqlDatabase> SqlDatabase::databaseWithPath(std::optional<std::string> path) {
  return std::make_shared<SqlDatabase>(Private{}, std::move(path));
}

SqlDatabase::SqlDatabase(Private, std::optional<std::string> path) : databasePath_(std::move(path)) {
  if (!isSQLiteThreadSafe()) {
    pf::logf("The SQLite library in use is not thread-safe");
    std::abort();
  }
}

SqlDatabase::~SqlDatabase() {
  close();
}

// ---- Life of the connection

bool SqlDatabase::open() {
  if (db_) return true;
  sqlite3* handle = nullptr;
  const int rc = sqlite3_open(sqlitePath().c_str(), &handle);
  return finishOpen(rc, handle);
}

bool SqlDatabase::openWithFlags(int flags) {
  if (db_) return true;
  sqlite3* handle = nullptr;
  const int rc = sqlite3_open_v2(sqlitePath().c_str(), &handle, flags, nullptr);
  return finishOpen(rc, handle);
}

// A handle that failed to open is closed at once, so that a later open tries again instead of
// finding it and answering success.
bool SqlDatabase::finishOpen(int rc, sqlite3* handle) {
  if (rc != SQLITE_OK) {
    pf::logf("error opening!: %d", rc);
    sqlite3_close(handle);
    return false;
  }
  setHandle(handle);
  return true;
}

void SqlDatabase::setHandle(sqlite3* db) {
  db_ = db;
  handleAlive_ = db ? std::make_shared<int>(0) : nullptr;
}

bool SqlDatabase::close() {
  clearCachedStatements();
  closeOpenResultSets();
  if (!db_) return true;
  SqlBusyRetry retry(busyRetryTimeout());
  bool sweptLeaks = false;
  for (;;) {
    const int rc = sqlite3_close(db_);
    if (rc == SQLITE_OK) break;
    if (!isBusy(rc)) {
      pf::logf("error closing!: %d", rc);
      break;
    }
    if (!retry.again()) {
      pf::logf("%s:%d", std::string(__func__), __LINE__);
      pf::logf("Database busy, unable to close");
      return false;
    }
    if (!sweptLeaks) {
      sweptLeaks = true;
      finalizeLeakedStatements();
    }
  }
  setHandle(nullptr);
  return true;
}

void SqlDatabase::finalizeLeakedStatements() {
  // Statement objects still holding these handles must not finalise them again.
  handleAlive_ = std::make_shared<int>(0);
  while (sqlite3_stmt* statement = sqlite3_next_stmt(db_, nullptr)) {
    pf::logf("Closing leaked statement");
    sqlite3_finalize(statement);
  }
}

std::string SqlDatabase::sqlitePath() const {
  return databasePath_ ? *databasePath_ : ":memory:";
}

bool SqlDatabase::goodConnection() {
  if (!db_) return false;
  std::shared_ptr<SqlResultSet> rs = executeQuery("select name from sqlite_master where type='table'");
  if (!rs) return false;
  rs->close();
  return true;
}

bool SqlDatabase::databaseExists() const {
  if (db_) return true;
  pf::logf("The SqlDatabase %@ is not open.", description());
  if (crashOnErrors()) crash();
  return false;
}

std::string SqlDatabase::sqliteLibVersion() {
  return sqlite3_libversion();
}

bool SqlDatabase::isSQLiteThreadSafe() {
  return sqlite3_threadsafe() != 0;
}

bool SqlDatabase::setKey(const std::string& key) {
  return setKeyWithData(pf::Data(key.begin(), key.end()));
}

bool SqlDatabase::rekey(const std::string& key) {
  return rekeyWithData(pf::Data(key.begin(), key.end()));
}

bool SqlDatabase::setKeyWithData(const pf::Data&) {
  return false;
}

bool SqlDatabase::rekeyWithData(const pf::Data&) {
  return false;
}

// ---- Executing statements

std::shared_ptr<SqlResultSet> SqlDatabase::executeQuery(std::string_view sql,
                                                        const pf::Array& withArgumentsInArray) {
  return executeQuery(sql, &withArgumentsInArray, nullptr, nullptr);
}

std::shared_ptr<SqlResultSet> SqlDatabase::executeQuery(std::string_view sql,
                                                        const pf::Dictionary& withParameterDictionary) {
  return executeQuery(sql, nullptr, &withParameterDictionary, nullptr);
}

std::shared_ptr<SqlResultSet> SqlDatabase::executeQueryWithFormat(std::string_view format,
                                                                  const pf::Array& arguments) {
  std::string sql;
  pf::Array extracted;
  extractSQL(format, arguments, sql, extracted);
  return executeQuery(sql, extracted);
}

std::shared_ptr<SqlResultSet> SqlDatabase::executeQuery(std::string_view sql,
                                                        const pf::Array* withArgumentsInArray,
                                                        const pf::Dictionary* orDictionary,
                                                        const pf::Array* orVAList) {
  if (!databaseExists()) return nullptr;
  InUseScope use(isExecutingStatement_);
  if (!use) {
    warnInUse();
    return nullptr;
  }
  if (traceExecution()) pf::logf("%@ executeQuery: %@", description(), std::string(sql));
  std::shared_ptr<SqlStatement> statement = takeCachedStatement(sql);
  const bool fromCache = statement != nullptr;
  if (!statement) statement = prepare(sql, "executeQuery", nullptr);
  if (!statement) return nullptr;
  sqlite3_stmt* handle = statement->statement();
  if (bindArguments(handle, withArgumentsInArray, orDictionary, orVAList, true) !=
      sqlite3_bind_parameter_count(handle)) {
    pf::logf("Error: the bind count is not correct for the # of variables (executeQuery)");
    statement->reset();  // an uncached statement is finalised as it goes out of scope
    return nullptr;
  }
  if (shouldCacheStatements_ && !fromCache) setCachedStatement(statement, sql);
  std::shared_ptr<SqlResultSet> rs = SqlResultSet::resultSetWithStatement(statement, shared_from_this());
  rs->setQuery(std::string(sql));
  registerResultSet(rs);
  statement->setUseCount(statement->useCount() + 1);
  return rs;
}

bool SqlDatabase::executeUpdate(std::string_view sql, const pf::Array& withArgumentsInArray) {
  return executeUpdate(sql, nullptr, &withArgumentsInArray, nullptr, nullptr);
}

bool SqlDatabase::executeUpdate(std::string_view sql, const pf::Dictionary& withParameterDictionary) {
  return executeUpdate(sql, nullptr, nullptr, &withParameterDictionary, nullptr);
}

bool SqlDatabase::executeUpdateWithFormat(std::string_view format, const pf::Array& arguments) {
  std::string sql;
  pf::Array extracted;
  extractSQL(format, arguments, sql, extracted);
  return executeUpdate(sql, extracted);
}

bool SqlDatabase::executeUpdate(std::string_view sql, pf::ErrorPtr* error,
                                const pf::Array* withArgumentsInArray, const pf::Dictionary* orDictionary,
                                const pf::Array* orVAList) {
  if (!databaseExists()) return false;
  InUseScope use(isExecutingStatement_);
  if (!use) {
    warnInUse();
    return false;
  }
  if (traceExecution()) pf::logf("%@ executeUpdate: %@", description(), std::string(sql));
  std::shared_ptr<SqlStatement> statement = takeCachedStatement(sql);
  const bool fromCache = statement != nullptr;
  if (!statement) statement = prepare(sql, "executeUpdate", error);
  if (!statement) return false;
  sqlite3_stmt* handle = statement->statement();
  // The arguments outlive the step here, so SQLite need not copy them. A cached statement keeps
  // pointing at them afterwards but never reads them again: every run rebinds every parameter
  // (the bind count check) before it steps.
  const int bound = bindArguments(handle, withArgumentsInArray, orDictionary, orVAList, false);
  const int parameters = sqlite3_bind_parameter_count(handle);
  if (bound != parameters) {
    pf::logf(
        "Error: the bind count (%d) is not correct for the # of variables in the query (%d) (%@) "
        "(executeUpdate)",
        bound, parameters, std::string(sql));
    statement->reset();
    return false;
  }
  const int rc = stepUpdate(handle);
  if (rc != SQLITE_DONE && !isBusy(rc)) pf::logf("DB Query: %@", std::string(sql));
  finishUpdate(statement, fromCache, sql);
  if (rc == SQLITE_ROW) {
    throw pf::ContractViolation(
        pf::format("A executeUpdate is being called with a query string '%@'", std::string(sql)));
  }
  return rc == SQLITE_DONE || rc == SQLITE_OK;
}

std::shared_ptr<SqlStatement> SqlDatabase::takeCachedStatement(std::string_view sql) {
  if (!shouldCacheStatements_) return nullptr;
  std::shared_ptr<SqlStatement> statement = cachedStatementForQuery(sql);
  // A statement still stepped by an open result set is left to it; the caller prepares a fresh one.
  if (!statement || statement->inUse() || !statement->statement()) return nullptr;
  if (sqlite3_stmt_busy(statement->statement())) statement->reset();  // statements are mostly reset already
  return statement;
}

std::shared_ptr<SqlStatement> SqlDatabase::prepare(std::string_view sql, const char* operation,
                                                   pf::ErrorPtr* error) {
  SqlBusyRetry retry(busyRetryTimeout());
  for (;;) {
    sqlite3_stmt* handle = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &handle, nullptr);
    if (rc == SQLITE_OK) return std::make_shared<SqlStatement>(handle, std::string(sql), handleAlive_);
    sqlite3_finalize(handle);
    if (!isBusy(rc)) break;
    if (!retry.again()) {
      SqlBusyRetry::logGiveUp(operation, __LINE__, pathValue());
      return nullptr;
    }
  }
  if (logsErrors()) {
    pf::logf("DB Error: %d \"%@\"", lastErrorCode(), lastErrorMessage());
    pf::logf("DB Query: %@", std::string(sql));
    pf::logf("DB Path: %@", pathValue());
    if (crashOnErrors()) crash();
  }
  if (error) *error = errorWithMessage(sqlite3_errmsg(db_));
  return nullptr;
}

int SqlDatabase::bindArguments(sqlite3_stmt* statement, const pf::Array* arrayArgs,
                               const pf::Dictionary* dictionaryArgs, const pf::Array* vaList,
                               bool copyValues) {
  int bound = 0;
  if (dictionaryArgs) {
    for (const auto& [key, value] : *dictionaryArgs) {
      const int index = sqlite3_bind_parameter_index(statement, (":" + key).c_str());
      if (index < 1) {
        pf::logf("Could not find index for %@", key);
        continue;
      }
      bindObject(value, index, statement, copyValues);
      ++bound;
    }
    return bound;
  }
  const int parameters = sqlite3_bind_parameter_count(statement);
  size_t nextFromList = 0;
  for (int position = 1; position <= parameters; ++position) {
    const pf::Value* value = nullptr;
    if (arrayArgs && static_cast<size_t>(position - 1) < arrayArgs->size()) {
      value = &(*arrayArgs)[position - 1];
    } else if (vaList && nextFromList < vaList->size()) {
      value = &(*vaList)[nextFromList++];
    } else {
      break;
    }
    if (traceExecution()) {
      if (value->isData()) {
        pf::logf("data: %ld bytes", static_cast<long>(value->data()->size()));
      } else {
        pf::logf("obj: %@", *value);
      }
    }
    bindObject(*value, position, statement, copyValues);
    ++bound;
  }
  return bound;
}

int SqlDatabase::bindObject(const pf::Value& object, int toColumn, sqlite3_stmt* inStatement,
                            bool copyValues) {
  // Texts made here die with this call, so SQLite always copies them; the value's own text and bytes
  // only when they must outlive the call.
  const auto bindText = [&](const std::string& text) {
    return sqlite3_bind_text64(inStatement, toColumn, text.data(), text.size(), SQLITE_TRANSIENT,
                               SQLITE_UTF8);
  };
  const sqlite3_destructor_type keep = copyValues ? SQLITE_TRANSIENT : SQLITE_STATIC;
  switch (object.kind()) {
    case pf::Value::Kind::Nil:
    case pf::Value::Kind::Null:
      return sqlite3_bind_null(inStatement, toColumn);
    case pf::Value::Kind::Data: {
      const pf::Data& data = *object.data();
      if (data.empty()) return sqlite3_bind_zeroblob(inStatement, toColumn, 0);
      return sqlite3_bind_blob64(inStatement, toColumn, data.data(), data.size(), keep);
    }
    case pf::Value::Kind::Date:
      if (dateFormat_) return bindText(dateFormat_->stringFromDate(*object.date()));
      return sqlite3_bind_double(inStatement, toColumn, object.date()->seconds);
    case pf::Value::Kind::String:
      return sqlite3_bind_text64(inStatement, toColumn, object.string()->data(), object.string()->size(),
                                 keep, SQLITE_UTF8);
    case pf::Value::Kind::Number:
      break;
    default:
      return bindText(object.description());
  }
  const pf::Number& number = *object.number();
  switch (number.typeLetter()) {
    case 'c':
    case 'B':
      return sqlite3_bind_int(inStatement, toColumn, number.boolValue() ? 1 : 0);
    case 'i':
      return sqlite3_bind_int64(inStatement, toColumn, number.intValue());
    case 'l':  // long is 64 bits here: kept whole
    case 'q':
      return sqlite3_bind_int64(inStatement, toColumn, number.longLongValue());
    case 'Q':
      return sqlite3_bind_int64(inStatement, toColumn,
                                static_cast<sqlite3_int64>(number.unsignedLongLongValue()));
    case 'f':
      return sqlite3_bind_double(inStatement, toColumn, number.floatValue());
    case 'd':
      return sqlite3_bind_double(inStatement, toColumn, number.doubleValue());
    default:
      return bindText(number.stringValue());
  }
}

int SqlDatabase::stepUpdate(sqlite3_stmt* statement) {
  SqlBusyRetry retry(busyRetryTimeout());
  int rc = SQLITE_OK;
  for (;;) {
    rc = sqlite3_step(statement);
    if (!isBusy(rc)) break;
    if (rc == SQLITE_LOCKED) {
      const int resetResult = sqlite3_reset(statement);
      if (resetResult != SQLITE_LOCKED) pf::logf("Unexpected result from sqlite3_reset (%d) eu", resetResult);
    }
    if (!retry.again()) {
      SqlBusyRetry::logGiveUp("executeUpdate", __LINE__, pathValue());
      return rc;
    }
  }
  if (rc == SQLITE_ERROR) {
    pf::logf("Error calling sqlite3_step (%d: %s) SQLITE_ERROR", rc, lastErrorMessage());
  } else if (rc == SQLITE_MISUSE) {
    pf::logf("Error calling sqlite3_step (%d: %s) SQLITE_MISUSE", rc, lastErrorMessage());
  } else if (rc != SQLITE_DONE) {
    pf::logf("Unknown error calling sqlite3_step (%d: %s) eu", rc, lastErrorMessage());
  }
  return rc;
}

void SqlDatabase::finishUpdate(const std::shared_ptr<SqlStatement>& statement, bool fromCache,
                               std::string_view sql) {
  int rc = SQLITE_OK;
  if (shouldCacheStatements_) {
    if (!fromCache) setCachedStatement(statement, sql);
    statement->setUseCount(statement->useCount() + 1);
    rc = statement->reset();
  } else {
    rc = statement->close();
  }
  if (rc != SQLITE_OK) {
    pf::logf("Unknown error finalizing or resetting statement (%d: %s)", rc, lastErrorMessage());
    pf::logf("DB Query: %@", std::string(sql));
  }
}

void SqlDatabase::extractSQL(std::string_view sql, const pf::Array& argumentsList, std::string& intoString,
                             pf::Array& arguments) {
  size_t nextArgument = 0;
  const auto take = [&]() {
    return nextArgument < argumentsList.size() ? argumentsList[nextArgument++] : pf::Value();
  };
  // Consumes the letter after position i when it is the one asked for.
  size_t i = 0;
  const auto follows = [&](char letter) {
    if (i + 1 < sql.size() && sql[i + 1] == letter) {
      ++i;
      return true;
    }
    return false;
  };
  char last = '\0';
  for (; i < sql.size(); ++i) {
    const char current = sql[i];
    char add = current;
    std::optional<pf::Value> argument;
    if (last == '%') {
      switch (current) {
        case '@':
          argument = take();
          break;
        case 'c':
          argument = pf::Value(std::string(1, static_cast<char>(take().intValue())));
          break;
        case 's': {
          const pf::Value value = take();
          argument = value.isNothing() || value.isString() ? value : pf::Value(value.description());
          break;
        }
        case 'd':
        case 'D':
        case 'i':
          argument = pf::Value(take().intValue());
          break;
        case 'u':
        case 'U':
          argument = pf::Value(static_cast<unsigned>(take().longLongValue()));
          break;
        case 'h':
          if (follows('i')) {
            argument = pf::Value(static_cast<short>(take().intValue()));
          } else if (follows('u')) {
            argument = pf::Value(static_cast<unsigned short>(take().intValue()));
          }
          break;
        case 'q':
          if (follows('i')) {
            argument = pf::Value(take().longLongValue());
          } else if (follows('u')) {
            argument = pf::Value(take().unsignedLongLongValue());
          }
          break;
        case 'f':
          argument = pf::Value(take().doubleValue());
          break;
        case 'g':
          argument = pf::Value(take().floatValue());
          break;
        case 'l':
          if (follows('l')) {
            if (follows('d')) {
              argument = pf::Value(take().longLongValue());
            } else if (follows('u')) {
              argument = pf::Value(take().unsignedLongLongValue());
            } else {
              --i;  // the second "l" is written as it stands
            }
          } else if (follows('d')) {
            argument = pf::Value(static_cast<long>(take().longLongValue()));
          } else if (follows('u')) {
            argument = pf::Value(static_cast<unsigned long>(take().unsignedLongLongValue()));
          }
          break;
        default:
          break;
      }
    } else if (current == '%') {
      add = '\0';
    }
    if (argument && current == '@' && argument->isNil()) {
      intoString += "NULL";
    } else if (argument) {
      intoString += '?';
      arguments.push_back(*argument);
    } else if (add != '\0') {
      intoString += add;
    }
    last = current;
  }
}

// ---- State and errors

std::string SqlDatabase::lastErrorMessage() const {
  return sqlite3_errmsg(db_);
}

int SqlDatabase::lastErrorCode() const {
  return sqlite3_errcode(db_);
}

bool SqlDatabase::hadError() const {
  const int code = lastErrorCode();
  return code > SQLITE_OK && code < SQLITE_ROW;
}

pf::ErrorPtr SqlDatabase::errorWithMessage(const std::string& message) const {
  return pf::Error::make("SqlDatabase", lastErrorCode(), message);
}

pf::ErrorPtr SqlDatabase::lastError() const {
  return errorWithMessage(lastErrorMessage());
}

std::int64_t SqlDatabase::lastInsertRowId() const {
  if (isExecutingStatement_) {
    warnInUse();
    return 0;
  }
  return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

int SqlDatabase::changes() const {
  if (isExecutingStatement_) {
    warnInUse();
    return 0;
  }
  return db_ ? sqlite3_changes(db_) : 0;
}

std::string SqlDatabase::description() const {
  char text[48];
  std::snprintf(text, sizeof text, "<SqlDatabase: %p>", static_cast<const void*>(this));
  return text;
}

void SqlDatabase::warnInUse() const {
  pf::logf("The SqlDatabase %@ is currently in use.", description());
  if (crashOnErrors()) crash();
}

void SqlDatabase::crash() const {
  std::abort();
}

pf::Value SqlDatabase::pathValue() const {
  return databasePath_ ? pf::Value(*databasePath_) : pf::Value();
}

// ---- Open result sets

void SqlDatabase::registerResultSet(const std::shared_ptr<SqlResultSet>& resultSet) {
  std::lock_guard lock(openResultSetsMutex_);
  openResultSets_.emplace(resultSet.get(), resultSet);
}

bool SqlDatabase::hasOpenResultSets() const {
  std::lock_guard lock(openResultSetsMutex_);
  return !openResultSets_.empty();
}

void SqlDatabase::closeOpenResultSets() {
  std::unordered_map<const SqlResultSet*, std::weak_ptr<SqlResultSet>> open;
  {
    std::lock_guard lock(openResultSetsMutex_);
    open.swap(openResultSets_);
  }
  for (const auto& [key, weak] : open) {
    if (std::shared_ptr<SqlResultSet> rs = weak.lock()) {
      rs->setParentDB(nullptr);
      rs->close();
    }
  }
}

void SqlDatabase::resultSetDidClose(const SqlResultSet* resultSet) {
  std::lock_guard lock(openResultSetsMutex_);
  openResultSets_.erase(resultSet);
}

// ---- Statement cache

void SqlDatabase::setShouldCacheStatements(bool value) {
  shouldCacheStatements_ = value;
  if (!value) {
    lastCacheHit_ = nullptr;
    cachedStatements_.clear();
  }
}

void SqlDatabase::clearCachedStatements() {
  for (const auto& [query, statement] : cachedStatements_) statement->close();
  lastCacheHit_ = nullptr;
  cachedStatements_.clear();
}

std::shared_ptr<SqlStatement> SqlDatabase::cachedStatementForQuery(std::string_view query) const {
  if (lastCacheHit_ && lastCacheHit_->first == query) return lastCacheHit_->second;
  auto it = cachedStatements_.find(query);
  if (it == cachedStatements_.end()) return nullptr;
  lastCacheHit_ = &*it;  // entries keep their address until erased
  return it->second;
}

void SqlDatabase::setCachedStatement(const std::shared_ptr<SqlStatement>& statement,
                                     std::string_view forQuery) {
  statement->setQuery(std::string(forQuery));
  cachedStatements_.insert_or_assign(std::string(forQuery), statement);
}

// ---- Dates

std::optional<pf::Date> SqlDatabase::dateFromString(const std::string& text) const {
  if (!dateFormat_) return std::nullopt;
  return dateFormat_->dateFromString(text);
}

std::optional<std::string> SqlDatabase::stringFromDate(pf::Date date) const {
  if (!dateFormat_) return std::nullopt;
  return dateFormat_->stringFromDate(date);
}

std::shared_ptr<SqlDateFormatter> SqlDatabase::storeableDateFormat(const std::string& format) {
  return std::make_shared<SqlDateFormatter>(format);
}

// ---- SQL functions

void SqlDatabase::makeFunctionNamed(const std::string& name, int maximumArguments, SqlFunction withBlock) {
  if (!databaseExists()) return;
  openFunctions_.push_back(std::make_unique<SqlFunction>(std::move(withBlock)));
  sqlite3_create_function(db_, name.c_str(), maximumArguments, SQLITE_UTF8, openFunctions_.back().get(),
                          &callFunction, nullptr, nullptr);
}

// ---- Transactions and savepoints

bool SqlDatabase::beginTransaction() {
  const bool ok = executeUpdate("begin exclusive transaction");
  if (ok) inTransaction_ = true;
  return ok;
}

bool SqlDatabase::beginDeferredTransaction() {
  const bool ok = executeUpdate("begin deferred transaction");
  if (ok) inTransaction_ = true;
  return ok;
}

bool SqlDatabase::commit() {
  const bool ok = executeUpdate("commit transaction");
  if (ok) inTransaction_ = false;
  return ok;
}

bool SqlDatabase::rollback() {
  const bool ok = executeUpdate("rollback transaction");
  if (ok) inTransaction_ = false;
  return ok;
}

bool SqlDatabase::startSavePointWithName(const std::string& name, pf::ErrorPtr* error) {
  const bool ok = executeUpdate("savepoint " + quotedName(name) + ";");
  if (!ok && error) *error = lastError();
  return ok;
}

bool SqlDatabase::releaseSavePointWithName(const std::string& name, pf::ErrorPtr* error) {
  const bool ok = executeUpdate("release savepoint " + quotedName(name) + ";");
  if (!ok && error) *error = lastError();
  return ok;
}

bool SqlDatabase::rollbackToSavePointWithName(const std::string& name, pf::ErrorPtr* error) {
  const bool ok = executeUpdate("rollback transaction to savepoint " + quotedName(name) + ";");
  if (!ok && error) *error = lastError();
  return ok;
}

pf::ErrorPtr SqlDatabase::inSavePoint(const SavePointBlock& block) {
  const std::string name = pf::format("dbSavePoint%ld", savePointCounter++);
  return SqlTransaction::runInSavePoint(*this, name, block);
}
