#include "core/db/SqlBuilder.h"

#include <algorithm>

#include "core/util/StringUtil.h"
#include "platform/foundation/Error.h"

namespace {

std::string entityName(const DataEntity& entity) {
  return entity.className.value_or("(null)");
}

const std::string& tableOf(const DataEntity& entity) {
  if (!entity.tableName || entity.tableName->empty())
    throw pf::ContractViolation("Entity must have table name");
  return *entity.tableName;
}

const DataProperty& keyOf(const DataEntity& entity) {
  if (!entity.pkProp) {
    throw pf::ContractViolation("Entity with className: " + entityName(entity) +
                                " must have one unique primary key prop!");
  }
  return *entity.pkProp;
}

std::string columnOf(const DataProperty& prop) {
  if (prop.columnName && !prop.columnName->empty()) return *prop.columnName;
  return StringUtil::dbColumnNameWithString(prop.name.value_or(""));
}

// "--" and the text, or nothing. A line break would end the comment and let the rest of the text run as
// SQL, so line breaks become blanks.
std::string sqlComment(const std::optional<std::string>& comment) {
  if (!comment) return "";
  std::string text = *comment;
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return "--" + text;
}

std::string createTable(const DataEntity& entity) {
  std::string sql = " CREATE TABLE " + tableOf(entity) + "  " + sqlComment(entity.tableComment) + "\n(\n";
  for (const auto& prop : entity.props) {
    sql += " " + columnOf(*prop) + " " + prop->dbType.value_or("") + (prop->nullable ? "" : " NOT NULL") +
           "," + sqlComment(prop->comment) + "\n";
  }
  return sql + " PRIMARY KEY (" + columnOf(keyOf(entity)) + ")\n);";
}

std::string insert(const DataEntity& entity, const std::string& verb) {
  if (entity.props.empty()) {
    throw pf::ContractViolation("Entity with className: " + entityName(entity) +
                                " must have at least one data property!");
  }
  std::string sql = verb + " " + tableOf(entity) + " VALUES(";
  for (std::size_t i = 0; i < entity.props.size(); ++i) sql += " ?,";
  sql.back() = ')';
  return sql;
}

std::string update(const DataEntity& entity, std::vector<std::string>* args) {
  const DataProperty& key = keyOf(entity);
  std::vector<std::string> names;
  std::string sets;
  for (const auto& prop : entity.props) {
    if (prop.get() == &key) continue;
    sets += columnOf(*prop) + " = ?,";
    names.push_back(prop->name.value_or(""));
  }
  // With nothing but the key, setting the key to itself keeps the statement valid.
  if (sets.empty()) {
    sets = columnOf(key) + " = ?,";
    names.push_back(key.name.value_or(""));
  }
  sets.pop_back();
  names.push_back(key.name.value_or(""));
  if (args != nullptr) *args = std::move(names);
  return " UPDATE " + tableOf(entity) + " SET " + sets + " WHERE " + columnOf(key) + " = ?";
}

std::string byKey(const std::string& head, const DataEntity& entity) {
  return head + " " + tableOf(entity) + " WHERE " + columnOf(keyOf(entity)) + " = ?";
}

}  // namespace

std::string SqlBuilder::createIndex(const DataEntity& entity, const DataIndex& index) {
  std::string columns;
  for (const std::string& column : index.columnNames) columns += (columns.empty() ? "" : ", ") + column;
  return " CREATE INDEX IF NOT EXISTS " + index.name.value_or("") + " ON " + tableOf(entity) + " (" +
         columns + ")";
}

SqlBuilder::SqlBuilder(const DataEntity& entity, unsigned sqlCode, std::vector<std::string>* args) {
  switch (sqlCode) {
    case CreateTable:
      content_ = createTable(entity);
      break;
    case DropTable:
      content_ = " DROP TABLE IF EXISTS " + tableOf(entity) + " ";
      break;
    case Insert:
      content_ = insert(entity, " INSERT INTO");
      break;
    case InsertOrReplace:
      content_ = insert(entity, " REPLACE INTO");
      break;
    case DeleteByKey:
      content_ = byKey(" DELETE FROM", entity);
      break;
    case DeleteAll:
      content_ = " DELETE FROM " + tableOf(entity);
      break;
    case UpdateByKey:
      content_ = update(entity, args);
      break;
    case QueryAll:
      content_ = " SELECT * FROM " + tableOf(entity);
      break;
    case QueryByKey:
      content_ = byKey(" SELECT * FROM", entity);
      break;
    default:
      break;
  }
  hasWhere_ = sqlCode == DeleteByKey || sqlCode == UpdateByKey || sqlCode == QueryByKey;
}

void SqlBuilder::appendInWithColumnName(const std::string& columnName, unsigned argsCount) {
  if (argsCount == 0 || !content_) return;
  std::string marks = "?";
  for (unsigned i = 1; i < argsCount; ++i) marks += ",?";
  *content_ += std::string(" ") + (hasWhere_ ? "AND" : "WHERE") + " " + columnName + " IN (" + marks + ")";
}
