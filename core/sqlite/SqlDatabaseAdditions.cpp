// Single-value queries and schema checks of SqlDatabase.

#include <sqlite3.h>

#include <algorithm>

#include "core/sqlite/SqlBusyRetry.h"
#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlResultSet.h"

namespace {

std::string lowercased(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return text;
}

}  // namespace

template <typename T>
T SqlDatabase::firstValue(std::string_view sql, const pf::Array& arguments, T none,
                          const std::function<T(SqlResultSet&)>& read) {
  std::shared_ptr<SqlResultSet> rs = executeQuery(sql, nullptr, nullptr, &arguments);
  if (!rs || !rs->next()) return none;
  T value = read(*rs);
  rs->close();
  return value;
}

std::optional<std::string> SqlDatabase::stringForQuery(std::string_view sql, const pf::Array& arguments) {
  return firstValue<std::optional<std::string>>(sql, arguments, std::nullopt,
                                                [](SqlResultSet& rs) { return rs.stringForColumnIndex(0); });
}

int SqlDatabase::intForQuery(std::string_view sql, const pf::Array& arguments) {
  return firstValue<int>(sql, arguments, 0, [](SqlResultSet& rs) { return rs.intForColumnIndex(0); });
}

std::int32_t SqlDatabase::longForQuery(std::string_view sql, const pf::Array& arguments) {
  return firstValue<std::int32_t>(sql, arguments, 0,
                                  [](SqlResultSet& rs) { return rs.longForColumnIndex(0); });
}

bool SqlDatabase::boolForQuery(std::string_view sql, const pf::Array& arguments) {
  return firstValue<bool>(sql, arguments, false, [](SqlResultSet& rs) { return rs.boolForColumnIndex(0); });
}

double SqlDatabase::doubleForQuery(std::string_view sql, const pf::Array& arguments) {
  return firstValue<double>(sql, arguments, 0.0, [](SqlResultSet& rs) { return rs.doubleForColumnIndex(0); });
}

std::optional<pf::Data> SqlDatabase::dataForQuery(std::string_view sql, const pf::Array& arguments) {
  return firstValue<std::optional<pf::Data>>(sql, arguments, std::nullopt,
                                             [](SqlResultSet& rs) { return rs.dataForColumnIndex(0); });
}

std::optional<pf::Date> SqlDatabase::dateForQuery(std::string_view sql, const pf::Array& arguments) {
  return firstValue<std::optional<pf::Date>>(sql, arguments, std::nullopt,
                                             [](SqlResultSet& rs) { return rs.dateForColumnIndex(0); });
}

bool SqlDatabase::tableExists(const std::string& tableName) {
  std::shared_ptr<SqlResultSet> rs = executeQuery(
      "select [sql] from sqlite_master where [type] = 'table' and lower(name) = ?", lowercased(tableName));
  if (!rs) return false;
  const bool exists = rs->next();
  rs->close();
  return exists;
}

std::shared_ptr<SqlResultSet> SqlDatabase::getSchema() {
  return executeQuery(
      "SELECT type, name, tbl_name, rootpage, sql FROM (SELECT * FROM sqlite_master UNION ALL SELECT * FROM "
      "sqlite_temp_master) WHERE type != 'meta' AND name NOT LIKE 'sqlite_%' ORDER BY tbl_name, type DESC, "
      "name");
}

std::shared_ptr<SqlResultSet> SqlDatabase::getTableSchema(const std::string& tableName) {
  // The table-valued form of the pragma takes the name as a bound value.
  return executeQuery("SELECT * FROM pragma_table_info(?)", tableName);
}

bool SqlDatabase::columnExists(const std::string& columnName, const std::string& inTableWithName) {
  const std::string column = lowercased(columnName);
  std::shared_ptr<SqlResultSet> rs = getTableSchema(lowercased(inTableWithName));
  if (!rs) return false;
  bool exists = false;
  while (!exists && rs->next()) exists = lowercased(rs->stringForColumn("name").value_or("")) == column;
  rs->close();
  return exists;
}

bool SqlDatabase::validateSQL(std::string_view sql, pf::ErrorPtr* error) {
  if (!databaseExists()) return false;
  SqlBusyRetry retry(busyRetryTimeout());
  for (;;) {
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr);
    sqlite3_finalize(statement);
    if (rc == SQLITE_OK) return true;
    if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
    if (!retry.again()) {
      SqlBusyRetry::logGiveUp(__func__, __LINE__, pathValue());
      return false;
    }
  }
  if (error) *error = pf::Error::make("NSCocoaErrorDomain", lastErrorCode(), lastErrorMessage());
  return false;
}
