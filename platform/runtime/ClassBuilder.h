#pragma once
// Declaring a class's properties once, with the member type deduced:
//
//   class Course : public pf::Object {
//     PF_OBJECT(Course, pf::Object)
//     std::optional<std::string> title;
//     int hours = 0;
//     static void declareProperties(pf::ClassBuilder<Course>& b) {
//       PF_PROPERTY(b, title);
//       PF_PROPERTY(b, hours);
//     }
//   };
//
// Supported member types and the type names they declare:
//   bool, char, signed char "c"; unsigned char "C"; short "s"; unsigned short "S"; int "i";
//   unsigned "I"; long "l"; unsigned long "L"; long long "q"; unsigned long long "Q"; float "f";
//   double "d"; std::string and std::optional<std::string> "NSString"; Date and optional "NSDate";
//   Number and optional "NSNumber"; Data and optional "NSData"; ArrayPtr and std::vector<E> "NSArray";
//   DictionaryPtr "NSDictionary"; std::shared_ptr<T> of a runtime class its class name; Value "@".
// A different type name (for instance "NSMutableArray", or "q" for a long) can be given explicitly.

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/runtime/Class.h"
#include "platform/runtime/Object.h"

namespace pf {

template <typename M>
struct PropertyTraits;

namespace detail {
template <typename T>
bool unboxArithmetic(const Value& v, T& out) {
  if (const Number* n = v.number()) {
    if constexpr (std::is_same_v<T, bool>) {
      out = n->boolValue();
    } else if constexpr (std::is_floating_point_v<T>) {
      out = static_cast<T>(n->doubleValue());
    } else if constexpr (std::is_unsigned_v<T> && sizeof(T) == 8) {
      out = static_cast<T>(n->unsignedLongLongValue());
    } else {
      out = static_cast<T>(n->longLongValue());
    }
    return true;
  }
  if (v.isString()) {  // strings answer the numeric readings too
    if constexpr (std::is_same_v<T, bool>) {
      out = v.boolValue();
    } else if constexpr (std::is_floating_point_v<T>) {
      out = static_cast<T>(sizeof(T) == sizeof(float) ? v.floatValue() : v.doubleValue());
    } else if constexpr (sizeof(T) <= sizeof(int)) {
      out = static_cast<T>(v.intValue());
    } else {
      out = static_cast<T>(v.longLongValue());
    }
    return true;
  }
  return false;
}

constexpr const char* arithmeticLetter(char c) {
  switch (c) {
    case 'c': return "c";
    case 'C': return "C";
    case 's': return "s";
    case 'S': return "S";
    case 'i': return "i";
    case 'I': return "I";
    case 'l': return "l";
    case 'L': return "L";
    case 'q': return "q";
    case 'Q': return "Q";
    case 'f': return "f";
    default: return "d";
  }
}
}  // namespace detail

template <typename M>
  requires std::is_arithmetic_v<M>
struct PropertyTraits<M> {
  static std::string typeName() { return detail::arithmeticLetter(Number(M{}).typeLetter()); }
  static Value box(const M& m) { return Value(Number(m)); }
  static bool unbox(const Value& v, M& out) { return detail::unboxArithmetic(v, out); }
};

// A plain value type stored directly (string, date, number object, data).
template <typename M, const char* Name>
struct DirectTraits {
  static std::string typeName() { return Name; }
  static Value box(const M& m) { return Value(m); }
  static bool unbox(const Value& v, M& out);
};

inline constexpr char kNSString[] = "NSString";
inline constexpr char kNSDate[] = "NSDate";
inline constexpr char kNSNumber[] = "NSNumber";
inline constexpr char kNSData[] = "NSData";
inline constexpr char kNSArray[] = "NSArray";
inline constexpr char kNSDictionary[] = "NSDictionary";

// Numbers read into a string property as their decimal text, as users of the value would expect.
template <>
inline bool DirectTraits<std::string, kNSString>::unbox(const Value& v, std::string& out) {
  if (const std::string* s = v.string()) {
    out = *s;
    return true;
  }
  if (const Number* n = v.number()) {
    out = n->stringValue();
    return true;
  }
  return false;
}
template <>
inline bool DirectTraits<Date, kNSDate>::unbox(const Value& v, Date& out) {
  if (!v.isDate()) return false;
  out = *v.date();
  return true;
}
template <>
inline bool DirectTraits<Number, kNSNumber>::unbox(const Value& v, Number& out) {
  if (!v.isNumber()) return false;
  out = *v.number();
  return true;
}
template <>
inline bool DirectTraits<Data, kNSData>::unbox(const Value& v, Data& out) {
  if (!v.isData()) return false;
  out = *v.data();
  return true;
}

template <>
struct PropertyTraits<std::string> : DirectTraits<std::string, kNSString> {};
template <>
struct PropertyTraits<Date> : DirectTraits<Date, kNSDate> {};
template <>
struct PropertyTraits<Number> : DirectTraits<Number, kNSNumber> {};
template <>
struct PropertyTraits<Data> : DirectTraits<Data, kNSData> {};

// Optional members: nil boxes and unboxes as nullopt.
template <typename M>
struct PropertyTraits<std::optional<M>> {
  static std::string typeName() { return PropertyTraits<M>::typeName(); }
  static Value box(const std::optional<M>& m) { return m ? PropertyTraits<M>::box(*m) : Value(); }
  static bool unbox(const Value& v, std::optional<M>& out) {
    if (v.isNil()) {
      out.reset();
      return true;
    }
    M m{};
    if (!PropertyTraits<M>::unbox(v, m)) return false;
    out = std::move(m);
    return true;
  }
};

template <>
struct PropertyTraits<Value> {
  static std::string typeName() { return "@"; }
  static Value box(const Value& m) { return m; }
  static bool unbox(const Value& v, Value& out) {
    out = v;
    return true;
  }
};

template <>
struct PropertyTraits<ArrayPtr> {
  static std::string typeName() { return kNSArray; }
  static Value box(const ArrayPtr& m) { return Value(m); }
  static bool unbox(const Value& v, ArrayPtr& out) {
    if (!v.isNil() && !v.isArray()) return false;
    out = v.array();
    return true;
  }
};

template <>
struct PropertyTraits<DictionaryPtr> {
  static std::string typeName() { return kNSDictionary; }
  static Value box(const DictionaryPtr& m) { return Value(m); }
  static bool unbox(const Value& v, DictionaryPtr& out) {
    if (!v.isNil() && !v.isDictionary()) return false;
    out = v.dictionary();
    return true;
  }
};

template <typename T>
  requires std::is_base_of_v<Object, T>
struct PropertyTraits<std::shared_ptr<T>> {
  static std::string typeName() { return T::kClassName; }
  static Value box(const std::shared_ptr<T>& m) { return m ? Value(ObjectPtr(m)) : Value(); }
  static bool unbox(const Value& v, std::shared_ptr<T>& out) {
    if (v.isNil()) {
      out.reset();
      return true;
    }
    auto typed = v.objectAs<T>();
    if (!typed) return false;
    out = std::move(typed);
    return true;
  }
};

// A typed list: boxed into a new array on every read, filled element by element on write.
template <typename E>
struct PropertyTraits<std::vector<E>> {
  static std::string typeName() { return kNSArray; }
  static Value box(const std::vector<E>& m) {
    auto array = std::make_shared<Array>();
    array->reserve(m.size());
    for (const E& e : m) array->push_back(PropertyTraits<E>::box(e));
    return Value(array);
  }
  static bool unbox(const Value& v, std::vector<E>& out) {
    if (v.isNil()) {
      out.clear();
      return true;
    }
    if (!v.isArray()) return false;
    std::vector<E> items;
    items.reserve(v.array()->size());
    for (const Value& element : *v.array()) {
      E e{};
      if (!PropertyTraits<E>::unbox(element, e)) return false;
      items.push_back(std::move(e));
    }
    out = std::move(items);
    return true;
  }
};

template <typename T>
class ClassBuilder {
 public:
  using Target = T;

  template <typename M>
  ClassBuilder& property(const char* name, M T::*member) {
    return add<M>(name, member, PropertyTraits<M>::typeName(), false);
  }
  // The same with an explicit type name ("NSMutableArray", or another letter of the same size).
  template <typename M>
  ClassBuilder& property(const char* name, M T::*member, std::string typeName) {
    return add<M>(name, member, std::move(typeName), false);
  }
  template <typename M>
  ClassBuilder& readonly(const char* name, M T::*member) {
    return add<M>(name, member, PropertyTraits<M>::typeName(), true);
  }
  // A read-only property computed from the object.
  ClassBuilder& computed(const char* name, std::string typeName, std::function<Value(const T&)> get) {
    properties_.push_back(Property{name, std::move(typeName), true,
                                   [get = std::move(get)](const Object& o) { return get(cast(o)); }, {}});
    return *this;
  }

  std::vector<Property> take() { return std::move(properties_); }

 private:
  static const T& cast(const Object& o) { return static_cast<const T&>(o); }
  static T& cast(Object& o) { return static_cast<T&>(o); }

  template <typename M>
  ClassBuilder& add(const char* name, M T::*member, std::string typeName, bool readonly) {
    Property p{name, typeName, readonly,
               [member, typeName](const Object& o) { return boxAs<M>(cast(o).*member, typeName); }, {}};
    if (!readonly) {
      p.set = [member](Object& o, const Value& v) { return PropertyTraits<M>::unbox(v, cast(o).*member); };
    }
    properties_.push_back(std::move(p));
    return *this;
  }

  // Arithmetic members declared with another letter box with that letter.
  template <typename M>
  static Value boxAs(const M& m, const std::string& typeName) {
    if constexpr (std::is_arithmetic_v<M>) {
      if (typeName.size() == 1 && typeName != PropertyTraits<M>::typeName()) {
        if constexpr (std::is_floating_point_v<M>) return Value(Number::withLetter(typeName[0], double(m)));
        else return Value(Number::withLetter(typeName[0], static_cast<long long>(m)));
      }
    }
    return PropertyTraits<M>::box(m);
  }

  std::vector<Property> properties_;
};

// Declares a runtime class inside its class body. Place it in the public section.
#define PF_OBJECT(ClassName, SuperName)                                         \
 public:                                                                        \
  using Self = ClassName;                                                       \
  using Super = SuperName;                                                      \
  static constexpr const char* kClassName = #ClassName;                         \
  static const ::pf::Class& staticClass() { return ::pf::classOf<ClassName>(); } \
  const ::pf::Class& objectClass() const override { return staticClass(); }

// Declares a member as a property under its own name.
#define PF_PROPERTY(builder, member) \
  (builder).property(#member, &std::remove_reference_t<decltype(builder)>::Target::member)
#define PF_READONLY(builder, member) \
  (builder).readonly(#member, &std::remove_reference_t<decltype(builder)>::Target::member)

template <typename T>
const Class& classOf() {
  if constexpr (std::is_same_v<T, Object>) {
    return Object::staticClass();
  } else {
    static const Class& cls = [] () -> const Class& {
      const Class& super = classOf<typename T::Super>();
      ClassBuilder<T> builder;
      // An inherited declaration takes its own class's builder, so it does not match here.
      if constexpr (requires { T::declareProperties(builder); }) T::declareProperties(builder);
      Class::Factory factory;
      if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>) {
        factory = [] { return std::static_pointer_cast<Object>(std::make_shared<T>()); };
      }
      return ClassRegistry::add(std::make_unique<Class>(T::kClassName, &super, std::move(factory), builder.take()));
    }();
    return cls;
  }
}

// Registers T (and its superclasses) at start-up.
template <typename T>
void registerClass() {
  (void)classOf<T>();
}

}  // namespace pf
