#pragma once
// A class as the runtime knows it: its name, its superclass, how to make an instance, and the
// properties it declares itself. Classes live in a process-wide registry by name; they are
// registered explicitly at start-up (classOf<T>() or registerClass<T>()), after which the registry
// can be frozen so that lookups need no lock.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

namespace pf {

class Object;

// One declared property: its name, its type (an encoding letter such as "i", a class name such as
// "NSString", or "@" for an untyped object), whether it is read-only, and its accessors.
struct Property {
  std::string name;
  std::string typeName;
  bool readonly = false;
  std::function<Value(const Object&)> get;
  std::function<bool(Object&, const Value&)> set;  // empty when read-only

  // The runtime's attribute text: "Ti,N" or "T@\"NSString\",R,N" (type first, "R" when read-only).
  std::string attributes() const;
};

class Class {
 public:
  using Factory = std::function<std::shared_ptr<Object>()>;

  Class(std::string name, const Class* superclass, Factory factory, std::vector<Property> properties);

  const std::string& name() const { return name_; }
  const Class* superclass() const { return superclass_; }
  // The class itself or one of its descendants.
  bool isSubclassOf(const Class& other) const;
  // A new instance, or nullptr for a class that cannot be made (abstract).
  std::shared_ptr<Object> make() const;
  // Properties this class declares itself, in declaration order.
  const std::vector<Property>& declaredProperties() const { return properties_; }
  // The property of that name, searched from this class up its superclasses.
  const Property* findProperty(const std::string& name) const;

 private:
  std::string name_;
  const Class* superclass_;
  Factory factory_;
  std::vector<Property> properties_;
};

class ClassRegistry {
 public:
  // Adds a class; a second class of the same name is a contract fault. Throws after freeze().
  static const Class& add(std::unique_ptr<Class> cls);
  static const Class* find(const std::string& name);
  // Makes an instance of the named class; nullptr when there is no such class or it is abstract.
  static std::shared_ptr<Object> make(const std::string& name);
  // No registrations from now on; lookups stop locking.
  static void freeze();
  static bool frozen();
};

// The registered class of T, registering it (and its superclasses first) on first use.
template <typename T>
const Class& classOf();

}  // namespace pf
