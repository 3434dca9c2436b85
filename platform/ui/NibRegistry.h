#pragma once
// The classes interface files may name, registered explicitly (the platform's own views and
// controllers are there from the first lookup). Register at start-up, then load files on the main
// thread.

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/NibClass.h"

namespace pf {

class NibRegistry {
 public:
  // Registers T under its runtime class name. Its superclass in files is the nearest registered
  // runtime superclass. A second definition of a name replaces the first.
  template <typename T>
  static const NibClass& define(const std::function<void(NibClassBuilder<T>&)>& describe = {}) {
    const Class& runtime = classOf<T>();
    NibClass::Factory factory;
    if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>) {
      factory = [] { return std::static_pointer_cast<Object>(std::make_shared<T>()); };
    }
    auto cls = std::make_unique<NibClass>(T::kClassName, nearest(runtime.superclass()), std::move(factory),
                                          std::is_base_of_v<View, T>);
    NibClassBuilder<T> builder(*cls);
    if (describe) describe(builder);
    return add(std::move(cls));
  }
  static const NibClass* find(const std::string& name);
  // The nearest registered class of a runtime class (itself or a superclass).
  static const NibClass* nearest(const Class* runtime);

 private:
  static const NibClass& add(std::unique_ptr<NibClass> cls);
};

}  // namespace pf
