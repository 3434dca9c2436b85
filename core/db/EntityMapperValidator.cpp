#include "core/db/EntityMapperValidator.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "core/reflect/ReflectionUtil.h"
#include "core/util/StringUtil.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"
#include "platform/runtime/Class.h"

namespace {

pf::Value valueOf(const std::optional<std::string>& text) {
  return text ? pf::Value(*text) : pf::Value();
}

template <typename... Args>
[[noreturn]] void fault(std::string_view format, const Args&... args) {
  throw pf::ContractViolation(pf::format(format, args...));
}

std::string asciiCase(std::string text, int (*convert)(int)) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [convert](unsigned char c) { return static_cast<char>(convert(c)); });
  return text;
}

void mapEveryProperty(DataEntity& entity, const PropertyDictionary& classProps) {
  for (const auto& [name, info] : classProps) {
    auto prop = std::make_shared<DataProperty>();
    prop->name = name;
    prop->columnName = StringUtil::dbColumnNameWithString(name);
    prop->TypeCode = info.typeCode;
    entity.propDic[*prop->columnName] = prop;
  }
}

void checkProperty(DataEntity& entity, const std::shared_ptr<DataProperty>& property,
                   const PropertyDictionary& classProps) {
  DataProperty& prop = *property;
  const pf::Value className = valueOf(entity.className);
  if (!prop.name || classProps.count(*prop.name) == 0) {
    fault("Property named: %@ not found in class: %@ !", valueOf(prop.name), className);
  }
  if (prop.primaryKey) {
    if (entity.pkProp) fault("Entity with className: %@ only support one primary key.", className);
    entity.pkProp = property;
  }
  if (!prop.columnName || prop.columnName->empty()) {
    prop.columnName = StringUtil::dbColumnNameWithString(*prop.name);
  } else if (*prop.columnName != asciiCase(*prop.columnName, ::tolower)) {
    fault("The columnName in Property named: %@ of class: %@ must be lowercase string!", *prop.name,
          className);
  }
  prop.TypeCode = EntityMapperValidator::typeCodeFromDBTypeText(prop.dbType);
  if (prop.TypeCode == TypeCode::None) fault("The dbType: %@ is not support!", valueOf(prop.dbType));
  entity.propDic[*prop.columnName] = property;
}

// The name and the columns enter CREATE INDEX as written, so they must be plain names: the index's of
// lower-case letters, digits and underscores, the columns the entity's own.
void checkIndex(DataEntity& entity, DataIndex& index) {
  const pf::Value className = valueOf(entity.className);
  const bool plainName =
      index.name && !index.name->empty() && std::all_of(index.name->begin(), index.name->end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
      });
  if (!plainName) {
    fault("Index named: %@ of class: %@ must have a name of lowercase letters, digits and underscores!",
          valueOf(index.name), className);
  }
  index.columnNames.clear();
  std::string column;
  std::istringstream columns(index.columns.value_or(""));
  while (std::getline(columns, column, ',')) {
    column.erase(0, column.find_first_not_of(' '));
    column.erase(column.find_last_not_of(' ') + 1);
    if (!entity.propertyWithColumnName(column))
      fault("Index named: %@ of class: %@ names no column of its table: %@ !", *index.name, className,
            column);
    index.columnNames.push_back(column);
  }
  if (index.columnNames.empty())
    fault("Index named: %@ of class: %@ must name a column!", *index.name, className);
}

void checkTableEntity(DataEntity& entity, const PropertyDictionary& classProps) {
  const pf::Value className = valueOf(entity.className);
  if (!entity.tableName || entity.tableName->empty()) fault("Entity must have table name");
  if (entity.props.empty())
    fault("Entity with className: %@ must have at least one data property!", className);
  for (const std::shared_ptr<DataProperty>& prop : entity.props) checkProperty(entity, prop, classProps);
  if (!entity.pkProp) fault("Entity with className: %@ must have one unique primary key prop!", className);
  for (const std::shared_ptr<DataIndex>& index : entity.indexes) checkIndex(entity, *index);
}

}  // namespace

void EntityMapperValidator::checkAndInitEntityDicWithContext(EntityMapperContext& context) {
  context.entityDic.clear();
  if (context.dataEntities.empty()) fault("Context must have at least one data entity!");
  for (const std::shared_ptr<DataEntity>& entity : context.dataEntities) {
    if (!entity->className || entity->className->empty()) fault("Entity must have class name");
    const pf::Class* cls = pf::ClassRegistry::find(*entity->className);
    if (cls == nullptr) fault("Entity with className: %@ is not a valid class name!", *entity->className);
    const PropertyDictionaryPtr classProps = ReflectionUtil::propertyDictionaryForClass(*cls);
    entity->propDic.clear();
    entity->pkProp.reset();
    if (entity->resultMapOnly) {
      mapEveryProperty(*entity, *classProps);
    } else {
      checkTableEntity(*entity, *classProps);
    }
    context.entityDic[*entity->className] = entity;
  }
}

unsigned EntityMapperValidator::typeCodeFromDBTypeText(const std::optional<std::string>& dbType) {
  if (!dbType) return TypeCode::None;
  const std::string type = asciiCase(*dbType, ::toupper);
  if (type.starts_with("VARCHAR") || type == "TEXT") return TypeCode::String;
  if (type == "BOOLEAN") return TypeCode::Bool;
  if (type.starts_with("INT")) return TypeCode::Int;
  if (type == "DATETIME") return TypeCode::Date;
  if (type == "FLOAT") return TypeCode::Float;
  if (type == "DOUBLE") return TypeCode::Double;
  return TypeCode::None;
}
