#include "core/sqlite/SqlResultSet.h"

#include <sqlite3.h>

#include <algorithm>

#include "core/sqlite/SqlBusyRetry.h"
#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlStatement.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/Object.h"

namespace {

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowercased(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
  return lower;
}

// Compares a lower-cased column name with a name written in any case.
bool sameName(const std::string& lower, std::string_view name) {
  if (lower.size() != name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (lower[i] != lowerAscii(name[i])) return false;
  }
  return true;
}

// Up to this many columns a name is found by scanning rather than hashing.
constexpr size_t kMaxScannedColumns = 16;

}  // namespace

std::shared_ptr<SqlResultSet> SqlResultSet::resultSetWithStatement(
    std::shared_ptr<SqlStatement> statement, std::shared_ptr<SqlDatabase> usingParentDatabase) {
  return std::make_shared<SqlResultSet>(Private{}, std::move(statement), std::move(usingParentDatabase));
}

SqlResultSet::SqlResultSet(Private, std::shared_ptr<SqlStatement> statement,
                           std::shared_ptr<SqlDatabase> parentDB)
    : parentDB_(std::move(parentDB)) {
  setStatement(std::move(statement));
}

SqlResultSet::~SqlResultSet() {
  close();
}

void SqlResultSet::setStatement(std::shared_ptr<SqlStatement> statement) {
  if (statement_) statement_->setInUse(false);
  statement_ = std::move(statement);
  if (statement_) statement_->setInUse(true);
}

sqlite3_stmt* SqlResultSet::handle() const {
  return statement_ ? statement_->statement() : nullptr;
}

bool SqlResultSet::next() {
  sqlite3_stmt* stmt = handle();
  if (!stmt) return false;
  SqlBusyRetry retry(parentDB_ ? parentDB_->busyRetryTimeout() : 0);
  int rc = SQLITE_OK;
  for (;;) {
    rc = sqlite3_step(stmt);
    if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
    if (rc == SQLITE_LOCKED) {
      const int resetResult = sqlite3_reset(stmt);
      if (resetResult != SQLITE_LOCKED) pf::logf("Unexpected result from sqlite3_reset (%d) rs", resetResult);
    }
    if (!retry.again()) {
      const pf::Value path =
          parentDB_ && parentDB_->databasePath() ? pf::Value(*parentDB_->databasePath()) : pf::Value();
      SqlBusyRetry::logGiveUp("next", __LINE__, path);
      close();
      return false;
    }
  }
  if (rc == SQLITE_ROW) return true;
  const std::string message = sqlite3_errmsg(sqlite3_db_handle(stmt));
  if (rc == SQLITE_ERROR || rc == SQLITE_MISUSE) {
    pf::logf("Error calling sqlite3_step (%d: %s) rs", rc, message);
  } else if (rc != SQLITE_DONE) {
    pf::logf("Unknown error calling sqlite3_step (%d: %s) rs", rc, message);
  }
  close();
  return false;
}

bool SqlResultSet::hasAnotherRow() const {
  return parentDB_ && parentDB_->lastErrorCode() == SQLITE_ROW;
}

void SqlResultSet::close() {
  if (statement_) {
    statement_->reset();
    setStatement(nullptr);
  }
  if (parentDB_) {
    const std::shared_ptr<SqlDatabase> parent = std::move(parentDB_);
    parent->resultSetDidClose(this);
  }
}

int SqlResultSet::columnCount() const {
  return sqlite3_column_count(handle());
}

void SqlResultSet::buildColumnMap() {
  columnNameToIndexMap_.emplace();
  const int count = columnCount();
  for (int i = 0; i < count; ++i) {
    (*columnNameToIndexMap_)[lowercased(sqlite3_column_name(handle(), i))] = i;
  }
  // In column order: rows are mostly read left to right, so the scan finds early columns first.
  columnList_.assign(columnNameToIndexMap_->begin(), columnNameToIndexMap_->end());
  std::sort(columnList_.begin(), columnList_.end(),
            [](const auto& a, const auto& b) { return a.second < b.second; });
}

int SqlResultSet::columnIndexForName(std::string_view columnName) {
  const ColumnMap& map = columnNameToIndexMap();
  if (columnList_.size() <= kMaxScannedColumns) {
    for (const auto& [name, index] : columnList_) {
      if (sameName(name, columnName)) return index;
    }
  } else if (auto it = map.find(lowercased(columnName)); it != map.end()) {
    return it->second;
  }
  pf::logf("Warning: I could not find the column named '%@'.", lowercased(columnName));
  return -1;
}

std::string SqlResultSet::columnNameForIndex(int columnIdx) const {
  const char* name = sqlite3_column_name(handle(), columnIdx);
  return name ? name : "";
}

// ---- Typed reads

int SqlResultSet::intForColumnIndex(int columnIdx) const {
  return sqlite3_column_int(handle(), columnIdx);
}

int SqlResultSet::intForColumn(std::string_view columnName) {
  return intForColumnIndex(columnIndexForName(columnName));
}

std::int32_t SqlResultSet::longForColumnIndex(int columnIdx) const {
  return static_cast<std::int32_t>(sqlite3_column_int64(handle(), columnIdx));
}

std::int32_t SqlResultSet::longForColumn(std::string_view columnName) {
  return longForColumnIndex(columnIndexForName(columnName));
}

std::int64_t SqlResultSet::longLongIntForColumnIndex(int columnIdx) const {
  return sqlite3_column_int64(handle(), columnIdx);
}

std::int64_t SqlResultSet::longLongIntForColumn(std::string_view columnName) {
  return longLongIntForColumnIndex(columnIndexForName(columnName));
}

std::uint64_t SqlResultSet::unsignedLongLongIntForColumnIndex(int columnIdx) const {
  return static_cast<std::uint64_t>(longLongIntForColumnIndex(columnIdx));
}

std::uint64_t SqlResultSet::unsignedLongLongIntForColumn(std::string_view columnName) {
  return unsignedLongLongIntForColumnIndex(columnIndexForName(columnName));
}

bool SqlResultSet::boolForColumnIndex(int columnIdx) const {
  return intForColumnIndex(columnIdx) != 0;
}

bool SqlResultSet::boolForColumn(std::string_view columnName) {
  return boolForColumnIndex(columnIndexForName(columnName));
}

double SqlResultSet::doubleForColumnIndex(int columnIdx) const {
  return sqlite3_column_double(handle(), columnIdx);
}

double SqlResultSet::doubleForColumn(std::string_view columnName) {
  return doubleForColumnIndex(columnIndexForName(columnName));
}

std::optional<std::string> SqlResultSet::stringForColumnIndex(int columnIdx) const {
  const char* text = UTF8StringForColumnIndex(columnIdx);
  if (!text) return std::nullopt;
  return std::string(text, static_cast<size_t>(sqlite3_column_bytes(handle(), columnIdx)));
}

std::optional<std::string> SqlResultSet::stringForColumn(std::string_view columnName) {
  return stringForColumnIndex(columnIndexForName(columnName));
}

std::optional<pf::Date> SqlResultSet::dateForColumnIndex(int columnIdx) const {
  if (columnIndexIsNull(columnIdx)) return std::nullopt;
  if (parentDB_ && parentDB_->hasDateFormatter()) {
    return parentDB_->dateFromString(stringForColumnIndex(columnIdx).value_or(""));
  }
  return pf::Date{doubleForColumnIndex(columnIdx)};
}

std::optional<pf::Date> SqlResultSet::dateForColumn(std::string_view columnName) {
  return dateForColumnIndex(columnIndexForName(columnName));
}

std::optional<pf::Data> SqlResultSet::dataForColumnIndex(int columnIdx) const {
  const std::optional<std::span<const std::uint8_t>> bytes = dataNoCopyForColumnIndex(columnIdx);
  if (!bytes) return std::nullopt;
  return pf::Data(bytes->begin(), bytes->end());
}

std::optional<pf::Data> SqlResultSet::dataForColumn(std::string_view columnName) {
  return dataForColumnIndex(columnIndexForName(columnName));
}

std::optional<std::span<const std::uint8_t>> SqlResultSet::dataNoCopyForColumnIndex(int columnIdx) const {
  if (columnIndexIsNull(columnIdx)) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(handle(), columnIdx));
  const auto length = static_cast<size_t>(sqlite3_column_bytes(handle(), columnIdx));
  return std::span<const std::uint8_t>(bytes, bytes ? length : 0);
}

std::optional<std::span<const std::uint8_t>> SqlResultSet::dataNoCopyForColumn(std::string_view columnName) {
  return dataNoCopyForColumnIndex(columnIndexForName(columnName));
}

const char* SqlResultSet::UTF8StringForColumnIndex(int columnIdx) const {
  // SQLite answers no text for a NULL column.
  if (columnIdx < 0) return nullptr;
  return reinterpret_cast<const char*>(sqlite3_column_text(handle(), columnIdx));
}

const char* SqlResultSet::UTF8StringForColumnName(std::string_view columnName) {
  return UTF8StringForColumnIndex(columnIndexForName(columnName));
}

bool SqlResultSet::columnIndexIsNull(int columnIdx) const {
  return columnIdx < 0 || sqlite3_column_type(handle(), columnIdx) == SQLITE_NULL;
}

bool SqlResultSet::columnIsNull(std::string_view columnName) {
  return columnIndexIsNull(columnIndexForName(columnName));
}

pf::Value SqlResultSet::objectForColumnIndex(int columnIdx) const {
  switch (sqlite3_column_type(handle(), columnIdx)) {
    case SQLITE_INTEGER:
      return pf::Value(static_cast<long long>(longLongIntForColumnIndex(columnIdx)));
    case SQLITE_FLOAT:
      return pf::Value(doubleForColumnIndex(columnIdx));
    case SQLITE_BLOB:
      return pf::Value(dataForColumnIndex(columnIdx).value_or(pf::Data{}));
    default: {
      std::optional<std::string> text = stringForColumnIndex(columnIdx);
      return text ? pf::Value(std::move(*text)) : pf::Value(pf::Null{});
    }
  }
}

pf::Value SqlResultSet::objectForColumnName(std::string_view columnName) {
  return objectForColumnIndex(columnIndexForName(columnName));
}

// ---- Whole rows

bool SqlResultSet::logEmptyRow() const {
  if (sqlite3_data_count(handle()) > 0) return false;
  pf::logf("Warning: There seem to be no columns in this set.");
  return true;
}

pf::DictionaryPtr SqlResultSet::resultDictionary() const {
  if (logEmptyRow()) return nullptr;
  auto row = std::make_shared<pf::Dictionary>();
  const int count = columnCount();
  for (int i = 0; i < count; ++i) row->insert_or_assign(columnNameForIndex(i), objectForColumnIndex(i));
  return row;
}

pf::DictionaryPtr SqlResultSet::resultDict() {
  if (logEmptyRow()) return nullptr;
  auto row = std::make_shared<pf::Dictionary>();
  for (const auto& [name, index] : columnNameToIndexMap()) row->emplace(name, objectForColumnIndex(index));
  return row;
}

void SqlResultSet::kvcMagic(pf::Object& object) const {
  const int count = columnCount();
  for (int i = 0; i < count; ++i) {
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(handle(), i));
    if (text) object.setValueForKey(columnNameForIndex(i), pf::Value(std::string(text)));
  }
}
