#pragma once
// Root of every class the runtime knows (entities, services that take part in key-value access).
// A class joins the runtime with PF_OBJECT (ClassBuilder.h) in its body and, when it has properties, a static
// declareProperties(pf::ClassBuilder<Self>&) that lists them (see ClassBuilder.h).

#include <memory>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/runtime/Class.h"

namespace pf {

class Object : public std::enable_shared_from_this<Object> {
 public:
  using Self = Object;
  static constexpr const char* kClassName = "NSObject";
  static const Class& staticClass();

  virtual ~Object() = default;
  virtual const Class& objectClass() const { return staticClass(); }

  const std::string& className() const;
  bool isKindOf(const Class& cls) const;

  // Key-value access by property name, boxing and unboxing as the original runtime did. An unknown
  // key throws ContractViolation; setValue answers false when the value cannot be stored in the
  // property (wrong kind, nil into a scalar) and leaves the property unchanged.
  Value valueForKey(const std::string& key) const;
  bool setValueForKey(const std::string& key, const Value& value);

  // "<ClassName: 0x...>" unless a class says more.
  virtual std::string description() const;
};

}  // namespace pf
