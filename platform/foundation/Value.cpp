#include "platform/foundation/Value.h"

#include <chrono>

#include "platform/foundation/Clock.h"
#include "platform/foundation/TextReading.h"
#include "platform/runtime/Object.h"

namespace pf {

// Follows the installed clock so tests on a virtual clock see dates move with it.
Date Date::now() { return Date{Clock::current()->wall()}; }

Value::Value(const char* s) {
  if (s) v_ = std::string(s);
}
Value::Value(ArrayPtr a) {
  if (a) v_ = std::move(a);
}
Value::Value(DictionaryPtr d) {
  if (d) v_ = std::move(d);
}
Value::Value(ObjectPtr o) {
  if (o) v_ = std::move(o);
}

const ArrayPtr& Value::array() const {
  static const ArrayPtr none;
  const ArrayPtr* p = std::get_if<ArrayPtr>(&v_);
  return p ? *p : none;
}

const DictionaryPtr& Value::dictionary() const {
  static const DictionaryPtr none;
  const DictionaryPtr* p = std::get_if<DictionaryPtr>(&v_);
  return p ? *p : none;
}

const ObjectPtr& Value::object() const {
  static const ObjectPtr none;
  const ObjectPtr* p = std::get_if<ObjectPtr>(&v_);
  return p ? *p : none;
}

bool Value::boolValue() const {
  if (const Number* n = number()) return n->boolValue();
  if (const std::string* s = string()) return text::boolValue(*s);
  return false;
}

int Value::intValue() const {
  if (const Number* n = number()) return n->intValue();
  if (const std::string* s = string()) return text::intValue(*s);
  return 0;
}

long long Value::longLongValue() const {
  if (const Number* n = number()) return n->longLongValue();
  if (const std::string* s = string()) return text::longLongValue(*s);
  return 0;
}

unsigned long long Value::unsignedLongLongValue() const {
  if (const Number* n = number()) return n->unsignedLongLongValue();
  if (const std::string* s = string()) return static_cast<unsigned long long>(text::longLongValue(*s));
  return 0;
}

float Value::floatValue() const {
  if (const Number* n = number()) return n->floatValue();
  if (const std::string* s = string()) return text::floatValue(*s);
  return 0;
}

double Value::doubleValue() const {
  if (const Number* n = number()) return n->doubleValue();
  if (const std::string* s = string()) return text::doubleValue(*s);
  return 0;
}

std::string Value::description() const {
  switch (kind()) {
    case Kind::Nil: return "(null)";
    case Kind::Null: return "<null>";
    case Kind::Number: return number()->stringValue();
    case Kind::String: return *string();
    case Kind::Date: return Number(date()->seconds).stringValue();
    case Kind::Data: return "<" + std::to_string(data()->size()) + " bytes>";
    case Kind::Array: {
      std::string out = "(";
      for (size_t i = 0; i < array()->size(); ++i) out += (i ? ", " : "") + (*array())[i].description();
      return out + ")";
    }
    case Kind::Dictionary: {
      std::string out = "{";
      bool first = true;
      for (const auto& [key, value] : *dictionary()) {
        out += (first ? "" : ", ") + key + " = " + value.description();
        first = false;
      }
      return out + "}";
    }
    case Kind::Object: return object()->description();
  }
  return {};
}

bool Value::operator==(const Value& other) const {
  if (kind() != other.kind()) return false;
  switch (kind()) {
    case Kind::Nil:
    case Kind::Null: return true;
    case Kind::Number: return *number() == *other.number();
    case Kind::String: return *string() == *other.string();
    case Kind::Date: return *date() == *other.date();
    case Kind::Data: return *data() == *other.data();
    case Kind::Array: return array() == other.array() || *array() == *other.array();
    case Kind::Dictionary: return dictionary() == other.dictionary() || *dictionary() == *other.dictionary();
    case Kind::Object: return object() == other.object();
  }
  return false;
}

bool Value::isSame(const Value& other) const {
  switch (kind()) {
    case Kind::Array: return other.isArray() && array() == other.array();
    case Kind::Dictionary: return other.isDictionary() && dictionary() == other.dictionary();
    case Kind::Object: return other.isObject() && object() == other.object();
    default: return *this == other;
  }
}

Value Value::operator[](const std::string& key) const {
  if (!isDictionary()) return {};
  auto it = dictionary()->find(key);
  return it == dictionary()->end() ? Value() : it->second;
}

ArrayPtr makeArray(std::initializer_list<Value> items) { return std::make_shared<Array>(items); }

DictionaryPtr makeDictionary(std::initializer_list<std::pair<const std::string, Value>> items) {
  return std::make_shared<Dictionary>(items);
}

}  // namespace pf
