#include "core/db/EntityRelationWriter.h"

#include <algorithm>

#include "core/db/DataEntity.h"
#include "core/db/EntityMapperContext.h"
#include "core/db/SqlBuilder.h"
#include "core/db/VelkDBHelper.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"

namespace {

std::string keyText(const pf::Value& key) {
  return key.string() ? *key.string() : pf::format("%@", key);
}

}  // namespace

bool EntityRelationWriter::insert(const pf::ObjectPtr& object) {
  if (!written_.insert(object.get()).second) return true;
  const std::vector<Link> links = linksOf(*object);
  if (!store_.insertObject(object)) return false;
  const pf::Value key = keyOf(*object);
  for (const Link& link : links) {
    for (const pf::ObjectPtr& child : heldBy(*object, link)) {
      if (!adopt(child, link, key) || !insert(child)) return false;
    }
  }
  return true;
}

bool EntityRelationWriter::update(const pf::ObjectPtr& object) {
  if (!written_.insert(object.get()).second) return true;
  const std::vector<Link> links = linksOf(*object);
  if (!store_.updateObject(object)) return false;
  const pf::Value key = keyOf(*object);
  for (const Link& link : links) {
    const std::vector<pf::ObjectPtr> held = heldBy(*object, link);
    std::vector<pf::Value> heldKeys;
    for (const pf::ObjectPtr& child : held) heldKeys.push_back(keyOf(*child));
    for (const pf::ObjectPtr& stored : storedFor(key, link)) {
      const bool kept = std::find(heldKeys.begin(), heldKeys.end(), keyOf(*stored)) != heldKeys.end();
      if (!kept && !remove(stored)) return false;
    }
    for (const pf::ObjectPtr& child : held) {
      if (!adopt(child, link, key)) return false;
      const bool stored = store_.queryForObject(link.childClass, keyOf(*child)) != nullptr;
      if (!(stored ? update(child) : insert(child))) return false;
    }
  }
  return true;
}

bool EntityRelationWriter::remove(const pf::ObjectPtr& object) {
  const pf::Value key = keyOf(*object);
  if (key.isNil()) throw pf::ContractViolation("Delete id can not be nil object!");
  if (!removed_.insert({object->className(), keyText(key)}).second) return true;
  for (const Link& link : linksOf(*object)) {
    for (const pf::ObjectPtr& stored : storedFor(key, link)) {
      if (!remove(stored)) return false;
    }
  }
  return store_.deleteObject(object->className(), key);
}

const DataEntity& EntityRelationWriter::entityOf(const pf::Object& object) const {
  const std::shared_ptr<const EntityMapperContext> context = store_.context();
  std::shared_ptr<DataEntity> entity = context ? context->entityWithClassName(object.className()) : nullptr;
  if (!entity || entity->resultMapOnly || !entity->pkProp) {
    throw pf::ContractViolation(pf::format("Can not found class with name: %@", object.className()));
  }
  return *entity;
}

std::vector<EntityRelationWriter::Link> EntityRelationWriter::linksOf(const pf::Object& object) const {
  const DataEntity& entity = entityOf(object);
  std::vector<Link> links;
  for (const std::shared_ptr<DataRelation>& relation : entity.relations) {
    if (!relation->prop || !relation->refClass || !relation->refProp) {
      throw pf::ContractViolation(
          pf::format("Relation of class: %@ must name prop, refClass and refProp!", object.className()));
    }
    const std::shared_ptr<const EntityMapperContext> context = store_.context();
    const std::shared_ptr<DataEntity> child = context->entityWithClassName(*relation->refClass);
    if (!child || child->resultMapOnly || !child->pkProp) {
      throw pf::ContractViolation(pf::format("Can not found class with name: %@", *relation->refClass));
    }
    const auto mapped = std::find_if(child->props.begin(), child->props.end(),
                                     [&](const auto& prop) { return prop->name == relation->refProp; });
    if (mapped == child->props.end()) {
      throw pf::ContractViolation(pf::format("Relation refProp: %@ is not a mapped property of class: %@ !",
                                             *relation->refProp, *relation->refClass));
    }
    links.push_back({*relation->prop, *relation->refClass, *relation->refProp, *(*mapped)->columnName});
  }
  return links;
}

pf::Value EntityRelationWriter::keyOf(const pf::Object& object) const {
  return object.valueForKey(*entityOf(object).pkProp->name);
}

std::vector<pf::ObjectPtr> EntityRelationWriter::heldBy(const pf::Object& object, const Link& link) const {
  const pf::Value held = object.valueForKey(link.property);
  std::vector<pf::Value> items;
  if (held.isArray() && held.array())
    items.assign(held.array()->begin(), held.array()->end());
  else if (!held.isNil() && !held.isNull())
    items.push_back(held);
  std::vector<pf::ObjectPtr> children;
  for (const pf::Value& item : items) {
    if (!item.isObject() || item.object()->className() != link.childClass) {
      throw pf::ContractViolation(pf::format("Relation prop: %@ of class: %@ must hold %@ objects!",
                                             link.property, object.className(), link.childClass));
    }
    children.push_back(item.object());
  }
  return children;
}

std::vector<pf::ObjectPtr> EntityRelationWriter::storedFor(const pf::Value& key, const Link& link) {
  const std::shared_ptr<DataEntity> child = store_.context()->entityWithClassName(link.childClass);
  SqlBuilder query(*child, SqlBuilder::QueryAll);
  query.appendInWithColumnName(link.refColumn, 1);
  std::vector<pf::ObjectPtr> rows;
  for (const pf::Value& row : store_.queryForList(link.childClass, *query.content(), {key})) {
    rows.push_back(row.object());
  }
  return rows;
}

bool EntityRelationWriter::adopt(const pf::ObjectPtr& child, const Link& link, const pf::Value& key) const {
  return child->setValueForKey(link.refProperty, key);
}
