#include "platform/runtime/Class.h"

#include <atomic>
#include <map>
#include <mutex>
#include <shared_mutex>

#include "platform/foundation/Error.h"
#include "platform/runtime/Object.h"

namespace pf {

std::string Property::attributes() const {
  std::string type = typeName.size() == 1 ? typeName : (typeName == "@" ? "@" : "@\"" + typeName + "\"");
  return "T" + type + (readonly ? ",R,N" : ",N");
}

Class::Class(std::string name, const Class* superclass, Factory factory, std::vector<Property> properties)
    : name_(std::move(name)),
      superclass_(superclass),
      factory_(std::move(factory)),
      properties_(std::move(properties)) {}

bool Class::isSubclassOf(const Class& other) const {
  for (const Class* c = this; c; c = c->superclass_) {
    if (c == &other) return true;
  }
  return false;
}

std::shared_ptr<Object> Class::make() const { return factory_ ? factory_() : nullptr; }

const Property* Class::findProperty(const std::string& name) const {
  for (const Class* c = this; c; c = c->superclass_) {
    for (const Property& p : c->properties_) {
      if (p.name == name) return &p;
    }
  }
  return nullptr;
}

namespace {

struct Registry {
  std::shared_mutex mutex;
  std::atomic<bool> frozen{false};
  std::map<std::string, std::unique_ptr<Class>> classes;
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

const Class& ClassRegistry::add(std::unique_ptr<Class> cls) {
  Registry& r = registry();
  std::unique_lock lock(r.mutex);
  if (r.frozen) throw ContractViolation("Class " + cls->name() + " registered after the class registry was frozen.");
  auto [it, inserted] = r.classes.try_emplace(cls->name(), std::move(cls));
  if (!inserted) throw ContractViolation("Class " + it->first + " is registered twice.");
  return *it->second;
}

const Class* ClassRegistry::find(const std::string& name) {
  Registry& r = registry();
  std::shared_lock<std::shared_mutex> lock;
  if (!r.frozen) lock = std::shared_lock(r.mutex);
  auto it = r.classes.find(name);
  return it == r.classes.end() ? nullptr : it->second.get();
}

std::shared_ptr<Object> ClassRegistry::make(const std::string& name) {
  const Class* cls = find(name);
  return cls ? cls->make() : nullptr;
}

void ClassRegistry::freeze() {
  Registry& r = registry();
  std::unique_lock lock(r.mutex);
  r.frozen = true;
}

bool ClassRegistry::frozen() { return registry().frozen; }

}  // namespace pf
