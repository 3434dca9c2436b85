#include "core/db/EntityRowMapper.h"

#include <algorithm>

#include "core/db/SqlBuilder.h"
#include "core/reflect/TypeCode.h"
#include "core/sqlite/SqlResultSet.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"

namespace {

constexpr char kGeneratedKeyType[] = "VARCHAR(32)";

// "csr.last_modify_time" names the column last_modify_time.
std::string_view columnKey(std::string_view name) {
  const size_t dot = name.find('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

}  // namespace

EntityRowMapper::EntityRowMapper(std::shared_ptr<const DataEntity> entity)
    : entity_(std::move(entity)), class_(pf::ClassRegistry::find(entity_->className.value_or(""))) {
  if (!class_) {
    throw pf::ContractViolation(
        pf::format("Entity with className: %@ is not a valid class name!", entity_->className.value_or("")));
  }
  for (const auto& [column, prop] : entity_->propDic) {
    columnIndex_.emplace(column, Column{&propertyNamed(prop->name), prop->TypeCode});
  }
  if (entity_->resultMapOnly) return;
  for (const auto& prop : entity_->props) columns_.push_back(&propertyNamed(prop->name));
  key_ = &propertyNamed(entity_->pkProp->name);
  generatesKey_ = entity_->pkProp->dbType == kGeneratedKeyType;
  buildStatements();
}

const pf::Property& EntityRowMapper::propertyNamed(const std::optional<std::string>& name) const {
  const pf::Property* property = class_->findProperty(name.value_or(""));
  if (!property) {
    throw pf::ContractViolation(
        pf::format("Property named: %@ not found in class: %@ !", name.value_or(""), class_->name()));
  }
  return *property;
}

std::vector<const pf::Property*> EntityRowMapper::propertiesNamed(
    const std::vector<std::string>& names) const {
  std::vector<const pf::Property*> properties;
  for (const std::string& name : names) properties.push_back(&propertyNamed(name));
  return properties;
}

void EntityRowMapper::buildStatements() {
  for (unsigned code :
       {SqlBuilder::CreateTable, SqlBuilder::Insert, SqlBuilder::InsertOrReplace, SqlBuilder::DeleteByKey,
        SqlBuilder::DeleteAll, SqlBuilder::QueryAll, SqlBuilder::QueryByKey}) {
    statements_.emplace(code, *SqlBuilder(*entity_, code).content());
  }
  std::vector<std::string> updateNames;
  statements_.emplace(SqlBuilder::UpdateByKey,
                      *SqlBuilder(*entity_, SqlBuilder::UpdateByKey, &updateNames).content());
  updateColumns_ = propertiesNamed(updateNames);
}

const std::string& EntityRowMapper::sql(unsigned sqlCode) const {
  const auto found = statements_.find(sqlCode);
  if (found == statements_.end()) throw pf::ContractViolation("Entity must have table name");
  return found->second;
}

pf::Array EntityRowMapper::valuesOf(const std::vector<const pf::Property*>& properties,
                                    const pf::Object& object) {
  pf::Array values;
  values.reserve(properties.size());
  for (const pf::Property* property : properties) values.push_back(property->get(object));
  return values;
}

pf::Array EntityRowMapper::arguments(const pf::Object& object) const {
  return valuesOf(columns_, object);
}

pf::Array EntityRowMapper::updateArguments(const pf::Object& object) const {
  return valuesOf(updateColumns_, object);
}

pf::Value EntityRowMapper::keyValue(const pf::Object& object) const {
  if (!key_) throw pf::ContractViolation("Entity must have table name");
  return key_->get(object);
}

void EntityRowMapper::fillGeneratedKey(pf::Object& object) const {
  if (!generatesKey_ || !key_->set || !key_->get(object).isNil()) return;
  key_->set(object, pf::Value(CommonUtil::createNewUUID()));
}

pf::Value EntityRowMapper::readColumn(const SqlResultSet& rs, int index, unsigned typeCode) {
  if (typeCode != TypeCode::Date) return rs.objectForColumnIndex(index);
  const std::optional<pf::Date> date = rs.dateForColumnIndex(index);
  return date ? pf::Value(*date) : pf::Value(pf::Null{});
}

pf::Array EntityRowMapper::readObjects(SqlResultSet& rs) const {
  // Resolved once per result set; when two columns name one property the later column wins.
  std::vector<std::pair<int, const Column*>> plan;
  for (const auto& [name, index] : rs.columnNameToIndexMap()) {
    const auto found = columnIndex_.find(std::string(columnKey(name)));
    if (found != columnIndex_.end() && found->second.property->set) plan.emplace_back(index, &found->second);
  }
  std::sort(plan.begin(), plan.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  pf::Array rows;
  while (rs.next()) {
    pf::ObjectPtr object = class_->make();
    if (!object) throw pf::ContractViolation(pf::format("Can not found class named %@ !", class_->name()));
    for (const auto& [index, column] : plan) {
      const pf::Value value = readColumn(rs, index, column->typeCode);
      if (!value.isNull()) column->property->set(*object, value);
    }
    rows.emplace_back(std::move(object));
  }
  return rows;
}

pf::Array EntityRowMapper::readValues(SqlResultSet& rs, unsigned typeCode) {
  pf::Array values;
  while (rs.next()) values.push_back(readColumn(rs, 0, typeCode));
  return values;
}
