#pragma once
// How the objects of one mapped class become statement arguments and how result rows become objects of
// it: the runtime accessors of its mapped properties in column order, the store's statement texts for
// its table, the generated-key rule, and the column-to-property index of result rows. Built once per
// entity when the store starts and read-only afterwards, so any thread may use it.

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/db/DataEntity.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Class.h"
#include "platform/runtime/Object.h"

class SqlResultSet;

class EntityRowMapper {
 public:
  // The entity must have passed EntityMapperValidator; an unregistered class is a contract fault.
  explicit EntityRowMapper(std::shared_ptr<const DataEntity> entity);

  const DataEntity& entity() const { return *entity_; }
  // The statement of an SqlBuilder code for the entity's table; an entity without a table is a contract
  // fault.
  const std::string& sql(unsigned sqlCode) const;

  // The mapped properties' values in column order; a property without a value binds NULL.
  pf::Array arguments(const pf::Object& object) const;
  // The values the update statement takes: every non-key property in column order, then the key.
  pf::Array updateArguments(const pf::Object& object) const;
  pf::Value keyValue(const pf::Object& object) const;
  // A nil key whose dbType is exactly "VARCHAR(32)" gets a new 32-character key; nothing else changes.
  void fillGeneratedKey(pf::Object& object) const;

  // One new object per remaining row. A column name counts after its first "."; columns that map to no
  // property are skipped, and NULL leaves a property at the value a fresh object has.
  pf::Array readObjects(SqlResultSet& rs) const;
  // Column 0 of every remaining row read by a Foundation type code; NULL gives the null marker.
  static pf::Array readValues(SqlResultSet& rs, unsigned typeCode);

 private:
  struct Column {
    const pf::Property* property;
    unsigned typeCode;
  };

  const pf::Property& propertyNamed(const std::optional<std::string>& name) const;
  std::vector<const pf::Property*> propertiesNamed(const std::vector<std::string>& names) const;
  void buildStatements();
  static pf::Array valuesOf(const std::vector<const pf::Property*>& properties, const pf::Object& object);
  static pf::Value readColumn(const SqlResultSet& rs, int index, unsigned typeCode);

  std::shared_ptr<const DataEntity> entity_;
  const pf::Class* class_;
  std::vector<const pf::Property*> columns_;
  std::vector<const pf::Property*> updateColumns_;
  const pf::Property* key_ = nullptr;
  bool generatesKey_ = false;
  std::unordered_map<std::string, Column> columnIndex_;
  std::map<unsigned, std::string> statements_;
};
