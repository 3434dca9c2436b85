#pragma once
// What the interface-file loader knows of one class: how to make it, the typed properties a file may
// set on it, its outlets (links to other objects of the file or to the owner), the actions it answers
// as a target, and, for controls, how to send an action for an event. Classes are registered
// explicitly with NibRegistry::define; lookups search up the superclasses.
//
// Threads: register at start-up; load files on the main thread.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/text/Font.h"
#include "platform/ui/View.h"

namespace pf {

// A property value as a file gives it, parsed by the property's kind.
using NibValue = std::variant<std::string, double, long long, bool, Color, std::shared_ptr<const Font>,
                              std::shared_ptr<Image>, Rect, Point, Size>;

enum class NibKind { Text, Number, Integer, Flag, Colour, Font, Image, Rect, Point, Size };

struct NibProperty {
  NibKind kind = NibKind::Text;
  // Integer properties: names a file may use for numbers; with `combines`, names join with "|".
  std::map<std::string, long long> names;
  bool combines = false;
  std::function<void(Object&, const NibValue&)> set;
};

struct NibOutlet {
  // Whether the object fits the outlet, and storing it there.
  std::function<bool(const ObjectPtr&)> accepts;
  std::function<void(Object&, const ObjectPtr&)> set;
};

// Connects a control's events to a handler that takes the sender.
using NibActionSource = std::function<void(Object& control, unsigned events,
                                           std::function<void(const ObjectPtr& sender)> handler)>;

class NibClass {
 public:
  using Factory = std::function<ObjectPtr()>;

  NibClass(std::string name, const NibClass* superclass, Factory factory, bool isView);

  const std::string& name() const { return name_; }
  const NibClass* superclass() const { return superclass_; }
  bool isView() const { return isView_; }
  // A new instance; nullptr for a class a file cannot make.
  ObjectPtr make() const { return factory_ ? factory_() : nullptr; }

  const NibProperty* findProperty(const std::string& name) const;
  const NibOutlet* findOutlet(const std::string& name) const;
  const std::function<void(Object&, const ObjectPtr&)>* findAction(const std::string& name) const;
  const NibActionSource* actionSource() const;

  std::map<std::string, NibProperty> properties;
  std::map<std::string, NibOutlet> outlets;
  std::map<std::string, std::function<void(Object&, const ObjectPtr&)>> actions;
  std::optional<NibActionSource> sendsActions;

 private:
  std::string name_;
  const NibClass* superclass_;
  Factory factory_;
  bool isView_;
};

namespace detail {

template <typename A>
constexpr std::optional<NibKind> nibKindOf() {
  using V = std::remove_cvref_t<A>;
  if constexpr (std::is_same_v<V, bool>)
    return NibKind::Flag;
  else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>)
    return NibKind::Integer;
  else if constexpr (std::is_floating_point_v<V>)
    return NibKind::Number;
  else if constexpr (std::is_same_v<V, std::string> || std::is_same_v<V, std::optional<std::string>>)
    return NibKind::Text;
  else if constexpr (std::is_same_v<V, Color> || std::is_same_v<V, std::optional<Color>>)
    return NibKind::Colour;
  else if constexpr (std::is_same_v<V, std::shared_ptr<const Font>>)
    return NibKind::Font;
  else if constexpr (std::is_same_v<V, std::shared_ptr<Image>> ||
                     std::is_same_v<V, std::shared_ptr<const Image>>)
    return NibKind::Image;
  else if constexpr (std::is_same_v<V, Rect>)
    return NibKind::Rect;
  else if constexpr (std::is_same_v<V, Point>)
    return NibKind::Point;
  else if constexpr (std::is_same_v<V, Size>)
    return NibKind::Size;
  else
    return std::nullopt;
}

// The parsed value as the setter's argument type.
template <typename A>
std::remove_cvref_t<A> nibArgument(const NibValue& value) {
  using V = std::remove_cvref_t<A>;
  if constexpr (std::is_same_v<V, bool>)
    return std::get<bool>(value);
  else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>)
    return static_cast<V>(std::get<long long>(value));
  else if constexpr (std::is_floating_point_v<V>)
    return static_cast<V>(std::get<double>(value));
  else if constexpr (std::is_same_v<V, std::optional<std::string>>)
    return std::get<std::string>(value);
  else if constexpr (std::is_same_v<V, std::optional<Color>>)
    return std::get<Color>(value);
  else if constexpr (std::is_same_v<V, std::shared_ptr<const Image>>)
    return std::get<std::shared_ptr<Image>>(value);
  else
    return std::get<V>(value);
}

}  // namespace detail

// Fills in one class's description; made by NibRegistry::define.
template <typename T>
class NibClassBuilder {
 public:
  explicit NibClassBuilder(NibClass& cls) : cls_(cls) {}

  // A property set through a one-argument setter; its kind follows the argument type.
  template <typename R, typename A>
  NibClassBuilder& property(const std::string& name, R (T::*setter)(A)) {
    constexpr auto kind = detail::nibKindOf<A>();
    static_assert(kind.has_value(), "no interface-file kind for this setter's argument");
    cls_.properties[name] = NibProperty{*kind, {}, false, [setter](Object& o, const NibValue& v) {
                                          (static_cast<T&>(o).*setter)(detail::nibArgument<A>(v));
                                        }};
    return *this;
  }
  // A property set by a function of the parsed value.
  NibClassBuilder& property(const std::string& name, NibKind kind,
                            std::function<void(T&, const NibValue&)> set) {
    cls_.properties[name] =
        NibProperty{kind, {}, false, [set = std::move(set)](Object& o, const NibValue& v) {
                      set(static_cast<T&>(o), v);
                    }};
    return *this;
  }
  // An integer property a file may also give by name; with combines, names join with "|".
  template <typename R, typename A>
  NibClassBuilder& named(const std::string& name, R (T::*setter)(A), std::map<std::string, long long> names,
                         bool combines = false) {
    property(name, setter);
    cls_.properties[name].names = std::move(names);
    cls_.properties[name].combines = combines;
    return *this;
  }
  // An outlet kept in a member: shared (owning) or weak.
  template <typename U>
  NibClassBuilder& outlet(const std::string& name, std::shared_ptr<U> T::*member) {
    cls_.outlets[name] =
        NibOutlet{[](const ObjectPtr& o) { return !o || std::dynamic_pointer_cast<U>(o) != nullptr; },
                  [member](Object& target, const ObjectPtr& o) {
                    static_cast<T&>(target).*member = std::dynamic_pointer_cast<U>(o);
                  }};
    return *this;
  }
  template <typename U>
  NibClassBuilder& outlet(const std::string& name, std::weak_ptr<U> T::*member) {
    cls_.outlets[name] =
        NibOutlet{[](const ObjectPtr& o) { return !o || std::dynamic_pointer_cast<U>(o) != nullptr; },
                  [member](Object& target, const ObjectPtr& o) {
                    static_cast<T&>(target).*member = std::dynamic_pointer_cast<U>(o);
                  }};
    return *this;
  }
  // An outlet stored through a setter taking a shared or weak pointer.
  template <typename R, typename P>
  NibClassBuilder& outlet(const std::string& name, R (T::*setter)(P)) {
    using Pointer = std::remove_cvref_t<P>;
    using U = typename Pointer::element_type;
    cls_.outlets[name] =
        NibOutlet{[](const ObjectPtr& o) { return !o || std::dynamic_pointer_cast<U>(o) != nullptr; },
                  [setter](Object& target, const ObjectPtr& o) {
                    (static_cast<T&>(target).*setter)(Pointer(std::dynamic_pointer_cast<U>(o)));
                  }};
    return *this;
  }
  // An action this class answers as a target, with or without the sender.
  NibClassBuilder& action(const std::string& name, void (T::*method)(const ObjectPtr& sender)) {
    cls_.actions[name] = [method](Object& target, const ObjectPtr& sender) {
      (static_cast<T&>(target).*method)(sender);
    };
    return *this;
  }
  NibClassBuilder& action(const std::string& name, void (T::*method)()) {
    cls_.actions[name] = [method](Object& target, const ObjectPtr&) { (static_cast<T&>(target).*method)(); };
    return *this;
  }
  // How a control of this class sends actions for events.
  NibClassBuilder& sendsActions(
      std::function<void(T& control, unsigned events, std::function<void(const ObjectPtr& sender)> handler)>
          connect) {
    cls_.sendsActions = [connect = std::move(connect)](Object& control, unsigned events,
                                                       std::function<void(const ObjectPtr&)> handler) {
      connect(static_cast<T&>(control), events, std::move(handler));
    };
    return *this;
  }

 private:
  NibClass& cls_;
};

}  // namespace pf
