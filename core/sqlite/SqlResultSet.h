#pragma once
// The cursor a query answers: steps its prepared statement row by row and reads the current row's
// columns by index or by name, as typed values, as dynamic values or as a whole dictionary.
//
// A result set holds its connection until it closes (at the last row, on a step error, by close(), or
// when dropped), so reading never outlives the connection; the connection only knows its open sets and
// closes them when it closes itself. Reads after closing answer nil, 0 or nullptr. Used by the thread
// that uses its connection.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/sqlite/SqlTextHash.h"
#include "platform/foundation/Value.h"

struct sqlite3_stmt;

namespace pf {
class Object;
}

class SqlDatabase;
class SqlStatement;

class SqlResultSet {
  struct Private {};

 public:
  // Lower-cased column name to column index.
  using ColumnMap = std::unordered_map<std::string, int, SqlTextHash, std::equal_to<>>;

  static std::shared_ptr<SqlResultSet> resultSetWithStatement(
      std::shared_ptr<SqlStatement> statement, std::shared_ptr<SqlDatabase> usingParentDatabase);
  SqlResultSet(Private, std::shared_ptr<SqlStatement> statement, std::shared_ptr<SqlDatabase> parentDB);
  ~SqlResultSet();
  SqlResultSet(const SqlResultSet&) = delete;
  SqlResultSet& operator=(const SqlResultSet&) = delete;

  // Steps to the next row; false (and closed) at the end or on an error.
  bool next();
  bool hasAnotherRow() const;
  void close();

  int columnCount() const;
  // Built once, on first use; when two columns share a name the later one wins.
  const ColumnMap& columnNameToIndexMap() {
    if (!columnNameToIndexMap_) buildColumnMap();
    return *columnNameToIndexMap_;
  }
  // -1 (with a warning) when no column has the name.
  int columnIndexForName(std::string_view columnName);
  std::string columnNameForIndex(int columnIdx) const;

  void setParentDB(std::shared_ptr<SqlDatabase> parentDB) { parentDB_ = std::move(parentDB); }
  const std::string& query() const { return query_; }
  void setQuery(std::string query) { query_ = std::move(query); }
  const std::shared_ptr<SqlStatement>& statement() const { return statement_; }
  void setStatement(std::shared_ptr<SqlStatement> statement);

  // Typed reads of the current row; by name the column is resolved with columnIndexForName.
  int intForColumnIndex(int columnIdx) const;
  int intForColumn(std::string_view columnName);
  // The 64-bit value cut to 32 bits.
  std::int32_t longForColumnIndex(int columnIdx) const;
  std::int32_t longForColumn(std::string_view columnName);
  std::int64_t longLongIntForColumnIndex(int columnIdx) const;
  std::int64_t longLongIntForColumn(std::string_view columnName);
  std::uint64_t unsignedLongLongIntForColumnIndex(int columnIdx) const;
  std::uint64_t unsignedLongLongIntForColumn(std::string_view columnName);
  bool boolForColumnIndex(int columnIdx) const;
  bool boolForColumn(std::string_view columnName);
  double doubleForColumnIndex(int columnIdx) const;
  double doubleForColumn(std::string_view columnName);
  std::optional<std::string> stringForColumnIndex(int columnIdx) const;
  std::optional<std::string> stringForColumn(std::string_view columnName);
  std::optional<pf::Date> dateForColumnIndex(int columnIdx) const;
  std::optional<pf::Date> dateForColumn(std::string_view columnName);
  std::optional<pf::Data> dataForColumnIndex(int columnIdx) const;
  std::optional<pf::Data> dataForColumn(std::string_view columnName);
  // SQLite's own buffer, valid only until the next step or close.
  std::optional<std::span<const std::uint8_t>> dataNoCopyForColumnIndex(int columnIdx) const;
  std::optional<std::span<const std::uint8_t>> dataNoCopyForColumn(std::string_view columnName);
  // SQLite's text pointer, valid only until the next step or close.
  const char* UTF8StringForColumnIndex(int columnIdx) const;
  const char* UTF8StringForColumnName(std::string_view columnName);
  bool columnIndexIsNull(int columnIdx) const;
  bool columnIsNull(std::string_view columnName);
  // By storage class: a 64-bit number, a double, data or text; NULL becomes pf::Null.
  pf::Value objectForColumnIndex(int columnIdx) const;
  pf::Value objectForColumnName(std::string_view columnName);
  pf::Value objectAtIndexedSubscript(int columnIdx) const { return objectForColumnIndex(columnIdx); }
  pf::Value objectForKeyedSubscript(std::string_view columnName) { return objectForColumnName(columnName); }
  pf::Value operator[](int columnIdx) const { return objectForColumnIndex(columnIdx); }
  pf::Value operator[](std::string_view columnName) { return objectForColumnName(columnName); }

  // The whole row keyed by the names as SQLite reports them; nullptr (with a warning) for an empty row.
  pf::DictionaryPtr resultDictionary() const;
  // The whole row keyed by the lower-cased names; nullptr (with a warning) for an empty row.
  pf::DictionaryPtr resultDict();
  // Sets each non-NULL column's text on the object under the column's name.
  void kvcMagic(pf::Object& object) const;

 private:
  sqlite3_stmt* handle() const;
  void buildColumnMap();
  bool logEmptyRow() const;

  std::shared_ptr<SqlDatabase> parentDB_;
  std::shared_ptr<SqlStatement> statement_;
  std::string query_;
  std::optional<ColumnMap> columnNameToIndexMap_;
  // The same entries in a plain list: scanning a few short names beats hashing them on every read.
  std::vector<std::pair<std::string, int>> columnList_;
};
