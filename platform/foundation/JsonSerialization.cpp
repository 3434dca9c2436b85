#include "platform/foundation/JsonSerialization.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

#include "platform/foundation/Utf8.h"
#include "platform/runtime/Object.h"

namespace pf {
namespace {

using Json = nlohmann::json;

constexpr char kDomain[] = "NSCocoaErrorDomain";
constexpr long kReadCorrupt = 3840;
constexpr long kWriteInvalid = 3851;
// Deeper documents are refused: the writer recurses, and a container holding itself would never end.
constexpr std::size_t kMaxDepth = 512;

void report(ErrorPtr* error, long code, std::string description, Dictionary extra = {}) {
  if (!error) return;
  extra[kLocalizedDescriptionKey] = Value(std::move(description));
  *error = std::make_shared<Error>(kDomain, code, std::move(extra));
}

// Builds the value while the parser walks the text, so no intermediate document is kept.
class ValueBuilder {
 public:
  ValueBuilder() = default;
  // Elements of a top-level array go to sink as each is complete instead of into the root.
  explicit ValueBuilder(const std::function<bool(Value)>* sink) : sink_(sink) {}

  bool null() { return add(Null{}); }
  bool boolean(bool b) { return add(Number(b)); }
  bool number_integer(Json::number_integer_t n) { return add(Number(static_cast<long long>(n))); }
  bool number_unsigned(Json::number_unsigned_t n) {
    if (n <= static_cast<Json::number_unsigned_t>(std::numeric_limits<long long>::max())) {
      return add(Number(static_cast<long long>(n)));
    }
    return add(Number(static_cast<unsigned long long>(n)));
  }
  // The parser itself refuses numbers beyond the range of a double.
  bool number_float(Json::number_float_t d, const std::string&) { return add(Number(d)); }
  bool string(std::string& s) { return add(Value(std::move(s))); }
  bool binary(Json::binary_t&) { return fail("binary values are not JSON"); }
  bool key(std::string& k) {
    frames_.back().key = std::move(k);
    return true;
  }
  bool start_object(std::size_t) { return open(Value(std::make_shared<Dictionary>())); }
  bool start_array(std::size_t) { return open(Value(std::make_shared<Array>())); }
  bool end_object() { return close(); }
  bool end_array() { return close(); }
  bool parse_error(std::size_t position, const std::string&, const Json::exception& e) {
    // The library's text starts with its own tag ("[json.exception.parse_error.101] ").
    std::string what = e.what();
    std::size_t tagEnd = what.find("] ");
    problem_ = "Invalid JSON at byte " + std::to_string(position) + ": " +
               (tagEnd == std::string::npos ? what : what.substr(tagEnd + 2));
    position_ = position;
    return false;
  }

  const Value& root() const { return root_; }
  const std::string& problem() const { return problem_; }
  std::optional<std::size_t> position() const { return position_; }

 private:
  struct Frame {
    Value container;
    std::string key;
  };

  bool add(Value v) {
    if (frames_.empty()) {
      root_ = std::move(v);
    } else if (streamsElements()) {
      return (*sink_)(std::move(v)) || fail("reading stopped");
    } else if (const ArrayPtr& array = frames_.back().container.array()) {
      array->push_back(std::move(v));
    } else {
      (*frames_.back().container.dictionary())[frames_.back().key] = std::move(v);
    }
    return true;
  }
  bool open(Value container) {
    if (frames_.size() >= kMaxDepth)
      return fail("nesting deeper than " + std::to_string(kMaxDepth) + " levels");
    if (!streamsElements()) add(container);
    frames_.push_back({std::move(container), {}});
    return true;
  }
  bool close() {
    Value done = std::move(frames_.back().container);
    frames_.pop_back();
    return !streamsElements() || add(std::move(done));
  }
  bool streamsElements() const {
    return sink_ && frames_.size() == 1 && frames_.front().container.array();
  }
  bool fail(std::string problem) {
    problem_ = "Invalid JSON: " + std::move(problem);
    return false;
  }

  const std::function<bool(Value)>* sink_ = nullptr;
  Value root_;
  std::vector<Frame> frames_;
  std::string problem_;
  std::optional<std::size_t> position_;
};

// Shortest text that reads back to the same float or double, always marked as a real.
std::string realText(const Number& n) {
  char buffer[64];
  std::to_chars_result written = n.typeLetter() == 'f'
                                     ? std::to_chars(buffer, buffer + sizeof buffer, n.floatValue())
                                     : std::to_chars(buffer, buffer + sizeof buffer, n.doubleValue());
  std::string text(buffer, written.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string typeName(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Nil:
      return "nil";
    case Value::Kind::Date:
      return "NSDate";
    case Value::Kind::Data:
      return "NSData";
    case Value::Kind::Object:
      return v.object()->className();
    default:
      return "unknown";
  }
}

class Writer {
 public:
  explicit Writer(bool pretty) : pretty_(pretty) {}

  bool write(const Value& v, std::size_t depth) {
    switch (v.kind()) {
      case Value::Kind::Null:
        out_ += "null";
        return true;
      case Value::Kind::Number:
        return writeNumber(*v.number());
      case Value::Kind::String:
        return writeString(*v.string());
      case Value::Kind::Array:
        return writeArray(*v.array(), depth);
      case Value::Kind::Dictionary:
        return writeDictionary(*v.dictionary(), depth);
      default:
        return fail("Invalid type in JSON write (" + typeName(v) + ")");
    }
  }

  std::string& text() { return out_; }
  const std::string& problem() const { return problem_; }

 private:
  bool writeNumber(const Number& n) {
    if (n.isBoolean()) {
      out_ += n.boolValue() ? "true" : "false";
    } else if (n.isFloating()) {
      if (std::isnan(n.doubleValue())) return fail("Invalid number value (NaN) in JSON write");
      if (std::isinf(n.doubleValue())) return fail("Invalid number value (infinite) in JSON write");
      out_ += realText(n);
    } else {
      out_ += n.stringValue();
    }
    return true;
  }

  // Escapes as JSON requires and keeps valid UTF-8 as it is; broken UTF-8 cannot be written.
  bool writeString(const std::string& s) {
    out_ += '"';
    for (std::size_t i = 0; i < s.size();) {
      auto c = static_cast<unsigned char>(s[i]);
      if (c < 0x80) {
        writeEscaped(c);
        ++i;
        continue;
      }
      utf8::Character ch = utf8::decode(s, i);
      if (ch.codePoint == utf8::kReplacementCharacter && ch.size == 1) {
        return fail("Invalid UTF-8 in string in JSON write");
      }
      out_.append(s, i, ch.size);
      i += ch.size;
    }
    out_ += '"';
    return true;
  }

  void writeEscaped(unsigned char c) {
    switch (c) {
      case '"': out_ += "\\\""; return;
      case '\\': out_ += "\\\\"; return;
      case '\b': out_ += "\\b"; return;
      case '\f': out_ += "\\f"; return;
      case '\n': out_ += "\\n"; return;
      case '\r': out_ += "\\r"; return;
      case '\t': out_ += "\\t"; return;
    }
    if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out_ += escaped;
    } else {
      out_ += static_cast<char>(c);
    }
  }

  bool writeArray(const Array& array, std::size_t depth) {
    if (!enter(depth)) return false;
    out_ += '[';
    for (std::size_t i = 0; i < array.size(); ++i) {
      separate(i, depth + 1);
      if (!write(array[i], depth + 1)) return false;
    }
    finish(array.empty(), depth);
    out_ += ']';
    return true;
  }

  bool writeDictionary(const Dictionary& dictionary, std::size_t depth) {
    if (!enter(depth)) return false;
    out_ += '{';
    std::size_t i = 0;
    for (const auto& [key, value] : dictionary) {
      separate(i++, depth + 1);
      if (!writeString(key)) return false;
      out_ += pretty_ ? " : " : ":";
      if (!write(value, depth + 1)) return false;
    }
    finish(dictionary.empty(), depth);
    out_ += '}';
    return true;
  }

  bool enter(std::size_t depth) {
    if (depth < kMaxDepth) return true;
    return fail("JSON write nested deeper than " + std::to_string(kMaxDepth) +
                " levels (does a container hold itself?)");
  }
  void separate(std::size_t index, std::size_t depth) {
    if (index > 0) out_ += ',';
    newline(depth);
  }
  void finish(bool empty, std::size_t depth) {
    if (!empty) newline(depth);
  }
  void newline(std::size_t depth) {
    if (!pretty_) return;
    out_ += '\n';
    out_.append(2 * depth, ' ');
  }
  bool fail(std::string problem) {
    problem_ = std::move(problem);
    return false;
  }

  bool pretty_;
  std::string out_;
  std::string problem_;
};

}  // namespace

Value JsonSerialization::JSONObjectWithData(const Data& data, unsigned options, ErrorPtr* error) {
  return JSONObjectWithString(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
                              options, error);
}

bool JsonSerialization::forEachArrayElement(std::string_view text, const std::function<bool(Value)>& take,
                                            ErrorPtr* error) {
  ValueBuilder builder(&take);
  if (!Json::sax_parse(text.begin(), text.end(), &builder)) {
    Dictionary extra;
    if (builder.position())
      extra["NSJSONSerializationErrorIndex"] = Value(static_cast<long long>(*builder.position()));
    report(error, kReadCorrupt, builder.problem(), std::move(extra));
    return false;
  }
  if (!builder.root().isArray()) {
    report(error, kReadCorrupt, "Invalid JSON: the text is not an array");
    return false;
  }
  return true;
}

Value JsonSerialization::JSONObjectWithString(std::string_view text, unsigned options, ErrorPtr* error) {
  ValueBuilder builder;
  if (!Json::sax_parse(text.begin(), text.end(), &builder)) {
    Dictionary extra;
    if (builder.position())
      extra["NSJSONSerializationErrorIndex"] = Value(static_cast<long long>(*builder.position()));
    report(error, kReadCorrupt, builder.problem(), std::move(extra));
    return {};
  }
  const Value& root = builder.root();
  if (!(options & ReadingAllowFragments) && !root.isArray() && !root.isDictionary()) {
    report(error, kReadCorrupt,
           "Invalid JSON at byte 0: JSON text did not start with array or object and option to allow "
           "fragments not set");
    return {};
  }
  return root;
}

std::optional<Data> JsonSerialization::dataWithJSONObject(const Value& value, unsigned options,
                                                          ErrorPtr* error) {
  std::optional<std::string> text = stringWithJSONObject(value, options, error);
  if (!text) return std::nullopt;
  return Data(text->begin(), text->end());
}

std::optional<std::string> JsonSerialization::stringWithJSONObject(const Value& value, unsigned options,
                                                                   ErrorPtr* error) {
  if (!(options & WritingFragmentsAllowed) && !value.isArray() && !value.isDictionary()) {
    report(error, kWriteInvalid, "Invalid top-level type in JSON write");
    return std::nullopt;
  }
  Writer writer(options & WritingPrettyPrinted);
  if (!writer.write(value, 0)) {
    report(error, kWriteInvalid, writer.problem());
    return std::nullopt;
  }
  return std::move(writer.text());
}

}  // namespace pf
