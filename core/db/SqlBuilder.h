#pragma once
// Writes the SQL of the object store's own statements for one mapped entity. Every value is a "?"
// mark, bound by the caller; only table and column names from the mapping file enter the text.

#include <optional>
#include <string>
#include <vector>

#include "core/db/DataEntity.h"

class SqlBuilder {
 public:
  static constexpr unsigned CreateTable = 1;
  static constexpr unsigned DropTable = 2;
  static constexpr unsigned Insert = 3;
  static constexpr unsigned InsertOrReplace = 4;
  static constexpr unsigned DeleteByKey = 5;
  static constexpr unsigned DeleteAll = 6;
  static constexpr unsigned UpdateByKey = 7;
  static constexpr unsigned QueryAll = 8;
  static constexpr unsigned QueryByKey = 9;

  // Builds the statement of sqlCode at once; content stays nullopt for an unknown code. For UpdateByKey,
  // args (when given) receives the property names whose values the "?" marks take, in order. An entity
  // without the table, key or properties a statement needs is a contract fault.
  SqlBuilder(const DataEntity& entity, unsigned sqlCode, std::vector<std::string>* args = nullptr);

  // "CREATE INDEX IF NOT EXISTS" of one of the entity's validated indexes.
  static std::string createIndex(const DataEntity& entity, const DataIndex& index);

  const std::optional<std::string>& content() const { return content_; }
  // Appends "WHERE column IN (?,...)", or "AND ..." when the statement already has a WHERE.
  void appendInWithColumnName(const std::string& columnName, unsigned argsCount);
  bool hasWhere() const { return hasWhere_; }
  void setHasWhere(bool hasWhere) { hasWhere_ = hasWhere; }

 private:
  std::optional<std::string> content_;
  bool hasWhere_ = false;
};
