#include "platform/foundation/Format.h"

#include <locale.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/runtime/Object.h"

namespace pf {
namespace {

// Caps widths and precisions so that a bad format cannot ask for gigabytes of padding.
constexpr int kMaxWidth = 4096;

// One conversion: "%" [position "$"] [flags] [width] ["." precision] [length] conversion.
struct Conversion {
  std::optional<size_t> position;
  std::string flags;
  std::optional<int> width;
  std::optional<int> precision;
  std::string length;
  char letter = 0;
};

// Makes snprintf write "." as the decimal point whatever the process locale is.
class CLocaleScope {
 public:
  CLocaleScope() : previous_(cLocale() ? uselocale(cLocale()) : nullptr) {}
  ~CLocaleScope() {
    if (previous_) uselocale(previous_);
  }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  static locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
  }
  locale_t previous_;
};

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads decimal digits at pos, saturating at kMaxWidth.
int readNumber(std::string_view format, size_t& pos) {
  int n = 0;
  while (pos < format.size() && isDigit(format[pos])) {
    n = std::min(kMaxWidth, n * 10 + (format[pos] - '0'));
    ++pos;
  }
  return n;
}

class Formatter {
 public:
  Formatter(std::string_view format, const std::vector<Value>& args) : format_(format), args_(args) {}

  std::string run() {
    size_t pos = 0;
    while (pos < format_.size()) {
      size_t percent = format_.find('%', pos);
      out_.append(format_.substr(pos, percent - pos));
      if (percent == std::string_view::npos) break;
      pos = convert(percent);
    }
    return std::move(out_);
  }

 private:
  // Formats the conversion starting at the "%" at start; answers where the text continues.
  size_t convert(size_t start) {
    size_t pos = start + 1;
    Conversion c;
    if (!parse(pos, c)) {
      out_.append(format_.substr(start));  // an unfinished conversion is kept as written
      return format_.size();
    }
    if (!write(c)) out_.append(format_.substr(start, pos - start));
    return pos;
  }

  bool parse(size_t& pos, Conversion& c) {
    size_t digitsStart = pos;
    int position = readNumber(format_, pos);
    if (pos < format_.size() && format_[pos] == '$' && position > 0) {
      c.position = static_cast<size_t>(position - 1);
      ++pos;
    } else {
      pos = digitsStart;
    }
    while (pos < format_.size() && std::string_view("-+ #0").find(format_[pos]) != std::string_view::npos) {
      c.flags += format_[pos++];
    }
    if (pos < format_.size() && format_[pos] == '*') {
      ++pos;
      int width = std::clamp(argument(c).intValue(), -kMaxWidth, kMaxWidth);
      if (width < 0) c.flags += '-';
      c.width = std::abs(width);
    } else if (pos < format_.size() && isDigit(format_[pos])) {
      c.width = readNumber(format_, pos);
    }
    if (pos < format_.size() && format_[pos] == '.') {
      ++pos;
      if (pos < format_.size() && format_[pos] == '*') {
        ++pos;
        int precision = std::min(argument(c).intValue(), kMaxWidth);
        if (precision >= 0) c.precision = precision;
      } else {
        c.precision = readNumber(format_, pos);
      }
    }
    while (pos < format_.size() && std::string_view("hlqjztL").find(format_[pos]) != std::string_view::npos) {
      c.length += format_[pos++];
    }
    if (pos >= format_.size()) return false;
    c.letter = format_[pos++];
    return true;
  }

  // The next argument, or the numbered one for "%n$"; nil once they run out.
  Value argument(const Conversion& c) {
    size_t index = c.position ? *c.position : next_++;
    return index < args_.size() ? args_[index] : Value();
  }

  // Answers false for an unknown conversion letter.
  bool write(const Conversion& c) {
    switch (c.letter) {
      case '%':
        out_ += '%';
        return true;
      case '@':
        out_ += argument(c).description();
        return true;
      case 'd':
      case 'i':
        writeSigned(c, argument(c).longLongValue());
        return true;
      case 'u':
      case 'o':
      case 'x':
      case 'X':
        writeUnsigned(c, argument(c).unsignedLongLongValue());
        return true;
      case 'c':
        writeCharacter(c, argument(c));
        return true;
      case 's':
        writeText(c, textOf(argument(c)));
        return true;
      case 'p':
        writePointer(c, argument(c));
        return true;
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
        writePrintf(c, "", argument(c).doubleValue());
        return true;
      case 'n':
        argument(c);
        return true;  // never writes through a pointer
      default:
        return false;
    }
  }

  // Integers are cut to the width the length modifier names, as C would read them.
  void writeSigned(const Conversion& c, long long v) {
    if (c.length == "hh")
      v = static_cast<signed char>(v);
    else if (c.length == "h")
      v = static_cast<short>(v);
    else if (c.length.empty())
      v = static_cast<int>(v);
    writePrintf(c, "ll", v);
  }

  void writeUnsigned(const Conversion& c, unsigned long long v) {
    if (c.length == "hh")
      v = static_cast<unsigned char>(v);
    else if (c.length == "h")
      v = static_cast<unsigned short>(v);
    else if (c.length.empty())
      v = static_cast<unsigned int>(v);
    writePrintf(c, "ll", v);
  }

  // A number is a character code; a string gives its first character, whole.
  void writeCharacter(const Conversion& c, const Value& v) {
    if (const std::string* s = v.string()) {
      size_t end = s->empty() ? 0 : 1;
      while (end < s->size() && (static_cast<unsigned char>((*s)[end]) & 0xC0) == 0x80) ++end;
      Conversion padOnly = c;
      padOnly.precision.reset();
      writeText(padOnly, s->substr(0, end));
      return;
    }
    writePrintf(c, "", static_cast<int>(static_cast<unsigned char>(v.intValue())));
  }

  static std::string textOf(const Value& v) {
    const std::string* s = v.string();
    return s ? *s : v.description();
  }

  // "%s" by hand: the text may hold NUL bytes, and a precision must not split a UTF-8 character.
  void writeText(const Conversion& c, std::string_view text) {
    if (c.precision && static_cast<size_t>(*c.precision) < text.size()) {
      size_t end = *c.precision;
      while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
      text = text.substr(0, end);
    }
    size_t width = c.width.value_or(0);
    std::string padding(width > text.size() ? width - text.size() : 0, ' ');
    bool left = c.flags.find('-') != std::string::npos;
    out_ += left ? std::string(text) + padding : padding + std::string(text);
  }

  void writePointer(const Conversion& c, const Value& v) {
    unsigned long long address =
        v.isObject() ? reinterpret_cast<std::uintptr_t>(v.object().get()) : v.unsignedLongLongValue();
    Conversion hex = c;
    hex.letter = 'x';
    out_ += "0x";
    writePrintf(hex, "ll", address);
  }

  template <typename T>
  void writePrintf(const Conversion& c, const char* length, T v) {
    std::string directive = "%" + c.flags;
    if (c.width) directive += std::to_string(*c.width);
    if (c.precision) directive += "." + std::to_string(*c.precision);
    directive += length;
    directive += c.letter;
    int size = std::snprintf(nullptr, 0, directive.c_str(), v);
    if (size <= 0) return;
    std::string text(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), directive.c_str(), v);
    text.pop_back();
    out_ += text;
  }

  std::string_view format_;
  const std::vector<Value>& args_;
  size_t next_ = 0;
  std::string out_;
};

}  // namespace

std::string formatValues(std::string_view format, const std::vector<Value>& args) {
  CLocaleScope cLocale;
  return Formatter(format, args).run();
}

}  // namespace pf
