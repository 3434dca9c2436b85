#include "platform/foundation/PropertyList.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/foundation/Utf8.h"

namespace pf {
namespace {

constexpr char kPlistDomain[] = "NSCocoaErrorDomain";
// The library reads and writes containers recursively; deeper input would overflow the stack.
constexpr std::size_t kPlistMaxDepth = 512;
// The format counts dates from 2001-01-01 UTC, in a 32-bit number of whole seconds.
constexpr double kSecondsFrom1970To2001 = 978307200;

void reportPlistError(ErrorPtr* error, long code, std::string description) {
  if (error) *error = Error::make(kPlistDomain, code, std::move(description));
}

struct NodeFree {
  void operator()(void* node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeFree>;

// ---- Probes, run before the library sees the input ----

std::size_t xmlNestingDepth(std::string_view text) {
  std::size_t depth = 0, deepest = 0;
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    std::string_view tag = text.substr(at + 1);
    const bool closing = tag.starts_with('/');
    if (closing) tag.remove_prefix(1);
    if (!tag.starts_with("array") && !tag.starts_with("dict")) continue;
    const std::size_t end = text.find('>', at);
    if (end != std::string_view::npos && text[end - 1] == '/') continue;  // <array/>
    if (closing) {
      depth -= depth > 0;
    } else {
      deepest = std::max(deepest, ++depth);
    }
  }
  return deepest;
}

std::optional<std::uint64_t> bigEndian(std::string_view bytes, std::uint64_t at, std::uint64_t size) {
  if (size == 0 || size > 8 || at > bytes.size() || bytes.size() - at < size) return std::nullopt;
  std::uint64_t v = 0;
  for (std::uint64_t i = 0; i < size; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// Walks the object table of a binary list from its top object, without recursion, looking for what the
// library cannot survive: containers nested deeper than the limit (references that loop included) and
// dictionary keys holding NUL (an assertion in the library aborts the process on those). Whatever else
// is wrong is left for the library to refuse.
class BinaryProbe {
 public:
  explicit BinaryProbe(std::string_view bytes) : bytes_(bytes) {
    constexpr std::size_t kHeader = 8, kTrailer = 32;
    if (bytes.size() < kHeader + kTrailer) return;
    const std::string_view trailer = bytes.substr(bytes.size() - kTrailer);
    offsetSize_ = static_cast<unsigned char>(trailer[6]);
    refSize_ = static_cast<unsigned char>(trailer[7]);
    count_ = bigEndian(trailer, 8, 8).value_or(0);
    top_ = bigEndian(trailer, 16, 8).value_or(0);
    table_ = bigEndian(trailer, 24, 8).value_or(0);
  }

  std::optional<std::string> problem() const {
    if (top_ >= count_) return std::nullopt;
    if (count_ > bytes_.size()) return "The property list claims more objects than it has bytes";
    std::vector<std::uint16_t> deepestSeen(count_, 0);
    std::vector<std::pair<std::uint64_t, std::size_t>> pending{{top_, 1}};
    while (!pending.empty()) {
      const auto [index, depth] = pending.back();
      pending.pop_back();
      if (depth > kPlistMaxDepth)
        return "The property list is nested deeper than " + std::to_string(kPlistMaxDepth) + " levels";
      if (deepestSeen[index] >= depth) continue;
      deepestSeen[index] = static_cast<std::uint16_t>(depth);
      const std::optional<Header> container = header(index);
      if (!container || (container->type != 0xA && container->type != 0xC && container->type != 0xD))
        continue;
      const bool dictionary = container->type == 0xD;
      for (std::uint64_t i = 0; i < container->items * (dictionary ? 2 : 1); ++i) {
        const auto child = bigEndian(bytes_, container->payload + i * refSize_, refSize_);
        if (!child) break;
        if (*child >= count_) continue;
        if (dictionary && i < container->items && keyHoldsNul(*child)) {
          return "A key of the property list holds a NUL character";
        }
        pending.emplace_back(*child, depth + 1);
      }
    }
    return std::nullopt;
  }

 private:
  struct Header {
    unsigned type;
    std::uint64_t items;
    std::uint64_t payload;
  };

  std::optional<Header> header(std::uint64_t index) const {
    const auto offset = bigEndian(bytes_, table_ + index * offsetSize_, offsetSize_);
    const auto marker = offset ? bigEndian(bytes_, *offset, 1) : std::nullopt;
    if (!marker) return std::nullopt;
    Header h{static_cast<unsigned>(*marker >> 4), *marker & 0xF, *offset + 1};
    if (h.items == 0xF) {  // the count follows as an integer object
      const auto sizeMarker = bigEndian(bytes_, h.payload, 1);
      if (!sizeMarker || (*sizeMarker >> 4) != 1) return std::nullopt;
      const std::uint64_t size = std::uint64_t{1} << (*sizeMarker & 0xF);
      const auto items = bigEndian(bytes_, h.payload + 1, size);
      if (!items) return std::nullopt;
      h.items = *items;
      h.payload += 1 + size;
    }
    return h;
  }

  // ASCII keys are bytes, Unicode keys UTF-16 units; either kind must not hold a zero.
  bool keyHoldsNul(std::uint64_t index) const {
    const std::optional<Header> key = header(index);
    if (!key || (key->type != 0x5 && key->type != 0x6)) return false;
    const std::uint64_t unit = key->type == 0x5 ? 1 : 2;
    for (std::uint64_t i = 0; i < key->items; ++i) {
      const auto value = bigEndian(bytes_, key->payload + i * unit, unit);
      if (!value) return false;
      if (*value == 0) return true;
    }
    return false;
  }

  std::string_view bytes_;
  unsigned offsetSize_ = 0;
  unsigned refSize_ = 0;
  std::uint64_t count_ = 0;
  std::uint64_t top_ = 0;
  std::uint64_t table_ = 0;
};

// ---- Library nodes to values ----

class Reader {
 public:
  Value read(void* node, std::size_t depth) {
    switch (plist_get_node_type(node)) {
      case PLIST_BOOLEAN: {
        std::uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Number(b != 0);
      }
      case PLIST_UINT: {
        std::uint64_t n = 0;
        plist_get_uint_val(node, &n);
        return Number(static_cast<long long>(n));  // the library keeps signed integers in these bits
      }
      case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return Number(d);
      }
      case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return text ? Value(std::string(text, length)) : Value(std::string());
      }
      case PLIST_DATE:
        return readDate(node);
      case PLIST_DATA: {
        std::uint64_t length = 0;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(plist_get_data_ptr(node, &length));
        return bytes ? Data(bytes, bytes + length) : Data();
      }
      case PLIST_ARRAY:
        return readArray(node, depth);
      case PLIST_DICT:
        return readDictionary(node, depth);
      default:
        return fail("The property list holds an element of a kind that is not supported");
    }
  }

  const std::string& problem() const { return problem_; }

 private:
  static Value readDate(void* node) {
    std::int32_t seconds = 0, micros = 0;
    plist_get_date_val(node, &seconds, &micros);
    // The library cuts towards zero and hands out the fraction without its sign.
    const double fraction = micros / 1e6;
    return Date{kSecondsFrom1970To2001 + seconds + (seconds < 0 ? -fraction : fraction)};
  }

  Value readArray(void* node, std::size_t depth) {
    if (depth >= kPlistMaxDepth) return tooDeep();
    auto array = std::make_shared<Array>();
    const std::uint32_t size = plist_array_get_size(node);
    for (std::uint32_t i = 0; i < size; ++i) {
      Value item = read(plist_array_get_item(node, i), depth + 1);
      if (item.isNil()) return {};
      array->push_back(std::move(item));
    }
    return array;
  }

  Value readDictionary(void* node, std::size_t depth) {
    if (depth >= kPlistMaxDepth) return tooDeep();
    auto dictionary = std::make_shared<Dictionary>();
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    std::unique_ptr<void, decltype(&std::free)> ownedIterator(iterator, &std::free);
    for (;;) {
      char* rawKey = nullptr;
      void* item = nullptr;
      plist_dict_next_item(node, iterator, &rawKey, &item);
      std::unique_ptr<char, decltype(&std::free)> key(rawKey, &std::free);
      if (!item) break;
      Value value = read(item, depth + 1);
      if (value.isNil()) return {};
      (*dictionary)[key ? key.get() : ""] = std::move(value);
    }
    return dictionary;
  }

  Value tooDeep() {
    return fail("The property list is nested deeper than " + std::to_string(kPlistMaxDepth) + " levels");
  }
  Value fail(std::string problem) {
    problem_ = std::move(problem);
    return {};
  }

  std::string problem_;
};

// ---- Values to library nodes ----

bool isWellFormedText(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const utf8::Character c = utf8::decode(text, at);
    if (c.codePoint == 0 || (c.codePoint == utf8::kReplacementCharacter && c.size == 1)) return false;
    at += c.size;
  }
  return true;
}

class Builder {
 public:
  Node build(const Value& v, std::size_t depth) {
    switch (v.kind()) {
      case Value::Kind::Number:
        return buildNumber(*v.number());
      case Value::Kind::String:
        if (!isWellFormedText(*v.string())) return fail("A string holds NUL or broken UTF-8");
        return Node(plist_new_string(v.string()->c_str()));
      case Value::Kind::Date:
        return buildDate(*v.date());
      case Value::Kind::Data:
        return Node(plist_new_data(reinterpret_cast<const char*>(v.data()->data()), v.data()->size()));
      case Value::Kind::Array:
        return buildArray(*v.array(), depth);
      case Value::Kind::Dictionary:
        return buildDictionary(*v.dictionary(), depth);
      case Value::Kind::Nil:
        return fail("Property lists cannot hold nil");
      case Value::Kind::Null:
        return fail("Property lists cannot hold the null marker");
      case Value::Kind::Object:
        return fail("Property lists cannot hold objects (" + v.description() + ")");
    }
    return nullptr;
  }

  const std::string& problem() const { return problem_; }

 private:
  Node buildNumber(const Number& n) {
    if (n.isBoolean()) return Node(plist_new_bool(n.boolValue()));
    if (n.isFloating()) return Node(plist_new_real(n.doubleValue()));
    if (n.isUnsigned64() && n.unsignedLongLongValue() > std::numeric_limits<long long>::max()) {
      return fail("The integer " + n.stringValue() + " is beyond the signed 64-bit range");
    }
    return Node(plist_new_uint(static_cast<std::uint64_t>(n.longLongValue())));
  }

  Node buildDate(const Date& date) {
    const double since2001 = date.seconds - kSecondsFrom1970To2001;
    const double whole = std::trunc(since2001);
    if (!(whole >= std::numeric_limits<std::int32_t>::min() &&
          whole <= std::numeric_limits<std::int32_t>::max())) {
      return fail("The date " + Number(date.seconds).stringValue() + " is outside the property-list range");
    }
    // Both parts carry the sign; the library adds them.
    const auto micros = static_cast<std::int32_t>(std::lround((since2001 - whole) * 1e6));
    return Node(plist_new_date(static_cast<std::int32_t>(whole), micros));
  }

  Node buildArray(const Array& array, std::size_t depth) {
    if (depth >= kPlistMaxDepth) return tooDeep();
    Node node(plist_new_array());
    for (const Value& item : array) {
      Node child = build(item, depth + 1);
      if (!child) return nullptr;
      plist_array_append_item(node.get(), child.release());
    }
    return node;
  }

  Node buildDictionary(const Dictionary& dictionary, std::size_t depth) {
    if (depth >= kPlistMaxDepth) return tooDeep();
    Node node(plist_new_dict());
    for (const auto& [key, value] : dictionary) {
      if (!isWellFormedText(key)) return fail("A key holds NUL or broken UTF-8");
      Node child = build(value, depth + 1);
      if (!child) return nullptr;
      plist_dict_set_item(node.get(), key.c_str(), child.release());
    }
    return node;
  }

  Node tooDeep() {
    return fail("The value is nested deeper than " + std::to_string(kPlistMaxDepth) +
                " levels (does a container hold itself?)");
  }
  Node fail(std::string problem) {
    problem_ = std::move(problem);
    return nullptr;
  }

  std::string problem_;
};

// ---- Files ----

long writeErrorCode(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return PropertyList::kFileWriteOutOfSpaceError;
    case EACCES:
    case EPERM:
    case EROFS:
      return PropertyList::kFileWriteNoPermissionError;
    default:
      return PropertyList::kFileWriteUnknownError;
  }
}

bool writeAll(int fd, const Data& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Makes the rename itself durable.
void syncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool writeAtomically(const std::string& path, const Data& bytes, ErrorPtr* error) {
  const std::filesystem::path target(path);
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    const int cause = errno;
    reportPlistError(error, writeErrorCode(cause), "Could not write " + path + ": " + std::strerror(cause));
    return false;
  }
  bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
  int cause = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    cause = errno;
  }
  if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
    written = false;
    cause = errno;
  }
  if (!written) {
    ::unlink(temporary.c_str());
    reportPlistError(error, writeErrorCode(cause), "Could not write " + path + ": " + std::strerror(cause));
    return false;
  }
  syncFolder(folder);
  return true;
}

}  // namespace

Value PropertyList::propertyListWithData(const Data& data, Format* format, ErrorPtr* error) {
  const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
  if (bytes.empty() || bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
    reportPlistError(error, kReadCorruptError,
           bytes.empty() ? "The property list is empty" : "The property list is too large");
    return {};
  }
  const auto size = static_cast<std::uint32_t>(bytes.size());
  const bool binary = plist_is_binary(bytes.data(), size);
  std::optional<std::string> problem = binary ? BinaryProbe(bytes).problem() : std::nullopt;
  if (!binary && xmlNestingDepth(bytes) > kPlistMaxDepth) {
    problem = "The property list is nested deeper than " + std::to_string(kPlistMaxDepth) + " levels";
  }
  if (problem) {
    reportPlistError(error, kReadCorruptError, *problem);
    return {};
  }
  void* raw = nullptr;
  plist_from_memory(bytes.data(), size, &raw);
  const Node root(raw);
  if (!root) {
    reportPlistError(error, kReadCorruptError, "The data is not a valid property list");
    return {};
  }
  Reader reader;
  Value value = reader.read(root.get(), 0);
  if (value.isNil()) {
    reportPlistError(error, kReadCorruptError, reader.problem());
    return {};
  }
  if (format) *format = binary ? Format::Binary : Format::Xml;
  return value;
}

Value PropertyList::propertyListWithContentsOfFile(const std::string& path, ErrorPtr* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::error_code ignored;
    const bool missing = !std::filesystem::exists(path, ignored);
    reportPlistError(error, missing ? kFileNoSuchFileError : kFileReadUnknownError,
           (missing ? "No file at " : "Could not read ") + path);
    return {};
  }
  const Data data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) {
    reportPlistError(error, kFileReadUnknownError, "Could not read " + path);
    return {};
  }
  return propertyListWithData(data, nullptr, error);
}

std::optional<Data> PropertyList::dataWithPropertyList(const Value& value, Format format, ErrorPtr* error) {
  Builder builder;
  const Node root = builder.build(value, 0);
  if (!root) {
    reportPlistError(error, kWriteInvalidError, builder.problem());
    return std::nullopt;
  }
  char* bytes = nullptr;
  std::uint32_t length = 0;
  if (format == Format::Xml) {
    plist_to_xml(root.get(), &bytes, &length);
  } else {
    plist_to_bin(root.get(), &bytes, &length);
  }
  if (!bytes) {
    reportPlistError(error, kWriteInvalidError, "The property list could not be written");
    return std::nullopt;
  }
  Data data(bytes, bytes + length);
  if (format == Format::Xml) {
    plist_to_xml_free(bytes);
  } else {
    plist_to_bin_free(bytes);
  }
  return data;
}

bool PropertyList::writeToFile(const Value& value, const std::string& path, Format format, ErrorPtr* error) {
  const std::optional<Data> data = dataWithPropertyList(value, format, error);
  return data && writeAtomically(path, *data, error);
}

bool PropertyList::isValidPropertyList(const Value& value) {
  return Builder().build(value, 0) != nullptr;
}

}  // namespace pf
