#include "platform/ui/NibClass.h"

namespace pf {

NibClass::NibClass(std::string name, const NibClass* superclass, Factory factory, bool isView)
    : name_(std::move(name)), superclass_(superclass), factory_(std::move(factory)), isView_(isView) {}

const NibProperty* NibClass::findProperty(const std::string& name) const {
  for (const NibClass* c = this; c; c = c->superclass_) {
    if (auto at = c->properties.find(name); at != c->properties.end()) return &at->second;
  }
  return nullptr;
}

const NibOutlet* NibClass::findOutlet(const std::string& name) const {
  for (const NibClass* c = this; c; c = c->superclass_) {
    if (auto at = c->outlets.find(name); at != c->outlets.end()) return &at->second;
  }
  return nullptr;
}

const std::function<void(Object&, const ObjectPtr&)>* NibClass::findAction(const std::string& name) const {
  for (const NibClass* c = this; c; c = c->superclass_) {
    if (auto at = c->actions.find(name); at != c->actions.end()) return &at->second;
  }
  return nullptr;
}

const NibActionSource* NibClass::actionSource() const {
  for (const NibClass* c = this; c; c = c->superclass_) {
    if (c->sendsActions) return &*c->sendsActions;
  }
  return nullptr;
}

}  // namespace pf
