#pragma once
// Writes an object together with the objects its entity's relations name (see the relation operations
// of VelkDBHelper), through the store's own single-object operations. The caller runs it inside one
// transaction on one connection, so a graph is written whole or not at all. A relation is checked when
// it is first used: it must name a property of the class (prop), a mapped class (refClass) and a mapped
// property of that class (refProp), else it is a contract fault. Objects met twice on one path (a cycle
// in the graph) are written once. One writer per call; not shared between threads.

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/runtime/Object.h"

class DataEntity;
class VelkDBHelper;

class EntityRelationWriter {
 public:
  explicit EntityRelationWriter(VelkDBHelper& store) : store_(store) {}

  bool insert(const pf::ObjectPtr& object);
  bool update(const pf::ObjectPtr& object);
  bool remove(const pf::ObjectPtr& object);

 private:
  struct Link {
    std::string property;     // of the object: the related objects
    std::string childClass;   // their class
    std::string refProperty;  // of the related objects: the object's key
    std::string refColumn;    // its column
  };

  const DataEntity& entityOf(const pf::Object& object) const;
  std::vector<Link> linksOf(const pf::Object& object) const;
  pf::Value keyOf(const pf::Object& object) const;
  // What the object's property holds: one object, an array of them, or nothing.
  std::vector<pf::ObjectPtr> heldBy(const pf::Object& object, const Link& link) const;
  // The stored rows that point at the key, as objects of the related class.
  std::vector<pf::ObjectPtr> storedFor(const pf::Value& key, const Link& link);
  bool adopt(const pf::ObjectPtr& child, const Link& link, const pf::Value& key) const;

  VelkDBHelper& store_;
  std::set<const pf::Object*> written_;
  std::set<std::pair<std::string, std::string>> removed_;
};
