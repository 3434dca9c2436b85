#pragma once
// The dynamic value every generic part of the system passes around: nil, the null marker, a number
// that remembers its C type letter, a string, a date, raw data, an array, a dictionary or a model
// object. Arrays, dictionaries and objects are shared by reference, as the original platform's
// collections were, so two values can be the very same container (identity) or merely equal.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/foundation/Number.h"

namespace pf {

class Object;
class Value;

// The null marker: a value that is present and says "nothing" (JSON null, SQL NULL).
struct Null {
  bool operator==(const Null&) const = default;
};

// A point in time, seconds since 1970-01-01 UTC.
struct Date {
  double seconds = 0;
  static Date now();
  auto operator<=>(const Date&) const = default;
};

using Data = std::vector<std::uint8_t>;
using Array = std::vector<Value>;
using Dictionary = std::map<std::string, Value>;
using ArrayPtr = std::shared_ptr<Array>;
using DictionaryPtr = std::shared_ptr<Dictionary>;
using ObjectPtr = std::shared_ptr<Object>;

class Value {
 public:
  enum class Kind { Nil, Null, Number, String, Date, Data, Array, Dictionary, Object };

  Value() = default;
  Value(Null) : v_(pf::Null{}) {}
  Value(const Number& n) : v_(n) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(const char* s);
  Value(Date d) : v_(d) {}
  Value(Data d) : v_(std::move(d)) {}
  Value(ArrayPtr a);
  Value(DictionaryPtr d);
  Value(Array a) : Value(std::make_shared<pf::Array>(std::move(a))) {}
  Value(Dictionary d) : Value(std::make_shared<pf::Dictionary>(std::move(d))) {}
  Value(ObjectPtr o);
  template <typename T>
    requires std::is_base_of_v<Object, T>
  Value(std::shared_ptr<T> o) : Value(ObjectPtr(std::move(o))) {}
  // Numbers keep the letter of the C type they came from.
  template <typename T>
    requires std::is_arithmetic_v<T>
  Value(T n) : v_(Number(n)) {}
  Value(std::nullptr_t) = delete;

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool isNil() const { return kind() == Kind::Nil; }
  bool isNull() const { return kind() == Kind::Null; }
  // Nil or the null marker.
  bool isNothing() const { return isNil() || isNull(); }
  bool isNumber() const { return kind() == Kind::Number; }
  bool isString() const { return kind() == Kind::String; }
  bool isDate() const { return kind() == Kind::Date; }
  bool isData() const { return kind() == Kind::Data; }
  bool isArray() const { return kind() == Kind::Array; }
  bool isDictionary() const { return kind() == Kind::Dictionary; }
  bool isObject() const { return kind() == Kind::Object; }

  // Typed access; nullptr when the value is of another kind.
  const Number* number() const { return std::get_if<Number>(&v_); }
  const std::string* string() const { return std::get_if<std::string>(&v_); }
  const Date* date() const { return std::get_if<Date>(&v_); }
  const Data* data() const { return std::get_if<Data>(&v_); }
  const ArrayPtr& array() const;
  const DictionaryPtr& dictionary() const;
  const ObjectPtr& object() const;
  template <typename T>
  std::shared_ptr<T> objectAs() const {
    return std::dynamic_pointer_cast<T>(object());
  }

  // Readings that numbers and strings both answer, the way the original platform read them:
  // numbers convert, strings are read leniently (see TextReading.h); everything else reads as 0/NO.
  bool boolValue() const;
  int intValue() const;
  long long longLongValue() const;
  unsigned long long unsignedLongLongValue() const;
  float floatValue() const;
  double doubleValue() const;

  // Text for logs and "%@": strings as they are, numbers in decimal, collections in a readable form.
  std::string description() const;

  // Deep equality (the platform's isEqual:); containers compare by content.
  bool operator==(const Value& other) const;
  // Identity: the very same container or object (scalars compare by equality).
  bool isSame(const Value& other) const;

  // Member lookup on a dictionary value; nil for missing keys and for any other kind.
  Value operator[](const std::string& key) const;

 private:
  std::variant<std::monostate, Null, Number, std::string, Date, Data, ArrayPtr, DictionaryPtr, ObjectPtr> v_;
};

// Helpers for building collections in place.
ArrayPtr makeArray(std::initializer_list<Value> items = {});
DictionaryPtr makeDictionary(std::initializer_list<std::pair<const std::string, Value>> items = {});

}  // namespace pf
