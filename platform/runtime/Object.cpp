#include "platform/runtime/Object.h"

#include <cstdio>

#include "platform/foundation/Error.h"
#include "platform/runtime/Class.h"

namespace pf {

const Class& Object::staticClass() {
  static const Class& root = ClassRegistry::add(std::make_unique<Class>(
      kClassName, nullptr, [] { return std::make_shared<Object>(); }, std::vector<Property>{}));
  return root;
}

const std::string& Object::className() const { return objectClass().name(); }

bool Object::isKindOf(const Class& cls) const { return objectClass().isSubclassOf(cls); }

namespace {
const Property& propertyOrThrow(const Object& o, const std::string& key) {
  const Property* p = o.objectClass().findProperty(key);
  if (!p) {
    throw ContractViolation("[<" + o.className() + "> valueForUndefinedKey:]: this class is not key value " +
                            "coding-compliant for the key " + key + ".");
  }
  return *p;
}
}  // namespace

Value Object::valueForKey(const std::string& key) const { return propertyOrThrow(*this, key).get(*this); }

bool Object::setValueForKey(const std::string& key, const Value& value) {
  const Property& p = propertyOrThrow(*this, key);
  return p.set && p.set(*this, value);
}

std::string Object::description() const {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
  return "<" + className() + ": " + address + ">";
}

}  // namespace pf
