#include "ui/extension/ColorExpanded.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Image.h"
#include "ui/extension/ColorExpandedSupport.h"

namespace {

constexpr char kArithmeticMessage[] = "Must be a RGB color to use arithmatic operations";

std::array<float, 4> rgbaOrThrow(const pf::Color& color, const char* message) {
  const std::optional<pf::Rgba> rgba = color.rgba();
  if (!rgba) throw pf::ContractViolation(message);
  return {static_cast<float>(rgba->red), static_cast<float>(rgba->green), static_cast<float>(rgba->blue),
          static_cast<float>(rgba->alpha)};
}

float clampUnit(float value) {
  return std::clamp(value, 0.0f, 1.0f);
}

pf::Color rgbColor(const std::array<float, 4>& c) {
  return pf::Color::fromRgba(c[0], c[1], c[2], c[3]);
}

// Each component of the colour against its value in `values`.
template <typename Op>
pf::Color combineComponents(const pf::Color& color, const std::array<float, 4>& values, Op op) {
  std::array<float, 4> c = rgbaOrThrow(color, kArithmeticMessage);
  for (size_t i = 0; i < c.size(); ++i) c[i] = op(c[i], values[i]);
  return rgbColor(c);
}

std::array<float, 4> rgbOf(const pf::Color& other, float alpha) {
  const std::array<float, 4> c = rgbaOrThrow(other, kArithmeticMessage);
  return {c[0], c[1], c[2], alpha};
}

// Reads the text forms of stringFromColor: white space skipped before every token.
class ColorTextScanner {
 public:
  explicit ColorTextScanner(const std::string& text) : text_(text) {}

  bool scanChar(char wanted) {
    skipSpace();
    if (pos_ >= text_.size() || text_[pos_] != wanted) return false;
    ++pos_;
    return true;
  }
  std::optional<float> scanNumber() {
    skipSpace();
    size_t end = pos_;
    if (end < text_.size() && (text_[end] == '+' || text_[end] == '-')) ++end;
    const size_t digitsStart = end;
    while (end < text_.size() && std::isdigit(static_cast<unsigned char>(text_[end]))) ++end;
    if (end < text_.size() && text_[end] == '.') ++end;
    while (end < text_.size() && std::isdigit(static_cast<unsigned char>(text_[end]))) ++end;
    if (end == digitsStart || (end == digitsStart + 1 && text_[digitsStart] == '.')) return std::nullopt;
    const bool positiveSign = text_[pos_] == '+';
    float value = 0;
    const auto [next, error] = std::from_chars(text_.data() + pos_ + (positiveSign ? 1 : 0), text_.data() + end, value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    pos_ = static_cast<size_t>(next - text_.data());
    return value;
  }
  bool atEnd() {
    skipSpace();
    return pos_ == text_.size();
  }

 private:
  void skipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  const std::string& text_;
  size_t pos_ = 0;
};

struct ColorNameCache {
  std::mutex lock;
  // A miss is cached as nullopt.
  std::unordered_map<std::string, std::optional<pf::Color>> colors;
};

ColorNameCache& colorNameCache() {
  static ColorNameCache cache;
  return cache;
}

// Where a region of `size` starting at the fraction `fraction` of `limit` pixels begins, kept inside.
int regionStart(float fraction, int size, int limit) {
  const double start = std::isfinite(fraction) ? std::floor(double(fraction) * limit) : 0;
  return static_cast<int>(std::clamp(start, 0.0, double(limit - size)));
}

int regionSide(float scale, int limit) {
  const double side = std::isfinite(scale) ? std::round(double(scale) * limit) : 1;
  return static_cast<int>(std::clamp(side, 1.0, double(limit)));
}

}  // namespace

int ColorExpanded::colorSpaceModel(const pf::Color& color) {
  return static_cast<int>(color.model());
}

std::string ColorExpanded::colorSpaceString(const pf::Color& color) {
  return colorSpaceString(colorSpaceModel(color));
}

std::string ColorExpanded::colorSpaceString(int model) {
  switch (model) {
    case 0: return "kCGColorSpaceModelMonochrome";
    case 1: return "kCGColorSpaceModelRGB";
    case 2: return "kCGColorSpaceModelCMYK";
    case 3: return "kCGColorSpaceModelLab";
    case 4: return "kCGColorSpaceModelDeviceN";
    case 5: return "kCGColorSpaceModelIndexed";
    case 6: return "kCGColorSpaceModelPattern";
    case -1: return "kCGColorSpaceModelUnknown";
    default: return "Not a valid color space";
  }
}

bool ColorExpanded::canProvideRGBComponents(const pf::Color& color) {
  return color.rgba().has_value();
}

bool ColorExpanded::red(const pf::Color& color, float* red, float* green, float* blue, float* alpha) {
  const std::optional<pf::Rgba> rgba = color.rgba();
  if (!rgba) return false;
  if (red) *red = static_cast<float>(rgba->red);
  if (green) *green = static_cast<float>(rgba->green);
  if (blue) *blue = static_cast<float>(rgba->blue);
  if (alpha) *alpha = static_cast<float>(rgba->alpha);
  return true;
}

float ColorExpanded::red(const pf::Color& color) {
  return rgbaOrThrow(color, "Must be an RGB color to use -red")[0];
}

float ColorExpanded::green(const pf::Color& color) {
  return rgbaOrThrow(color, "Must be an RGB color to use -green")[1];
}

float ColorExpanded::blue(const pf::Color& color) {
  return rgbaOrThrow(color, "Must be an RGB color to use -blue")[2];
}

float ColorExpanded::white(const pf::Color& color) {
  const std::optional<double> white = color.whiteLevel();
  if (color.model() != pf::ColorSpaceModel::monochrome || !white) {
    throw pf::ContractViolation("Must be a Monochrome color to use -white");
  }
  return static_cast<float>(*white);
}

float ColorExpanded::alpha(const pf::Color& color) {
  return static_cast<float>(color.alpha());
}

std::uint32_t ColorExpanded::rgbHex(const pf::Color& color) {
  const std::array<float, 4> c = rgbaOrThrow(color, "Must be a RGB color to use rgbHex");
  std::uint32_t hex = 0;
  for (size_t i = 0; i < 3; ++i) {
    hex = (hex << 8) | static_cast<std::uint32_t>(std::lround(clampUnit(c[i]) * 255.0f));
  }
  return hex;
}

std::array<float, 4> ColorExpanded::arrayFromRGBAComponents(const pf::Color& color) {
  return rgbaOrThrow(color, "Must be an RGB color to use -arrayFromRGBAComponents");
}

pf::Color ColorExpanded::colorByLuminanceMapping(const pf::Color& color) {
  const std::array<float, 4> c = rgbaOrThrow(color, kArithmeticMessage);
  const float grey = 0.2126f * c[0] + 0.7152f * c[1] + 0.0722f * c[2];
  return rgbColor({grey, grey, grey, c[3]});
}

pf::Color ColorExpanded::colorByMultiplyingByRed(const pf::Color& color, float red, float green, float blue,
                                                 float alpha) {
  return combineComponents(color, {red, green, blue, alpha}, [](float c, float v) { return clampUnit(c * v); });
}

pf::Color ColorExpanded::colorByAddingRed(const pf::Color& color, float red, float green, float blue, float alpha) {
  return combineComponents(color, {red, green, blue, alpha}, [](float c, float v) { return clampUnit(c + v); });
}

pf::Color ColorExpanded::colorByLighteningToRed(const pf::Color& color, float red, float green, float blue,
                                                float alpha) {
  return combineComponents(color, {red, green, blue, alpha}, [](float c, float v) { return std::max(c, v); });
}

pf::Color ColorExpanded::colorByDarkeningToRed(const pf::Color& color, float red, float green, float blue,
                                               float alpha) {
  return combineComponents(color, {red, green, blue, alpha}, [](float c, float v) { return std::min(c, v); });
}

pf::Color ColorExpanded::colorByMultiplyingBy(const pf::Color& color, float value) {
  return colorByMultiplyingByRed(color, value, value, value, 1.0f);
}

pf::Color ColorExpanded::colorByAdding(const pf::Color& color, float value) {
  return colorByAddingRed(color, value, value, value, 0.0f);
}

pf::Color ColorExpanded::colorByLighteningTo(const pf::Color& color, float value) {
  return colorByLighteningToRed(color, value, value, value, 0.0f);
}

pf::Color ColorExpanded::colorByDarkeningTo(const pf::Color& color, float value) {
  return colorByDarkeningToRed(color, value, value, value, 1.0f);
}

pf::Color ColorExpanded::colorByMultiplyingByColor(const pf::Color& color, const pf::Color& other) {
  const std::array<float, 4> o = rgbOf(other, 1.0f);
  return colorByMultiplyingByRed(color, o[0], o[1], o[2], o[3]);
}

pf::Color ColorExpanded::colorByAddingColor(const pf::Color& color, const pf::Color& other) {
  const std::array<float, 4> o = rgbOf(other, 0.0f);
  return colorByAddingRed(color, o[0], o[1], o[2], o[3]);
}

pf::Color ColorExpanded::colorByLighteningToColor(const pf::Color& color, const pf::Color& other) {
  const std::array<float, 4> o = rgbOf(other, 0.0f);
  return colorByLighteningToRed(color, o[0], o[1], o[2], o[3]);
}

pf::Color ColorExpanded::colorByDarkeningToColor(const pf::Color& color, const pf::Color& other) {
  const std::array<float, 4> o = rgbOf(other, 1.0f);
  return colorByDarkeningToRed(color, o[0], o[1], o[2], o[3]);
}

std::string ColorExpanded::stringFromColor(const pf::Color& color) {
  const std::array<float, 4> c = rgbaOrThrow(color, "Must be an RGB color to use -stringFromColor");
  char text[96];
  if (color.model() == pf::ColorSpaceModel::monochrome) {
    std::snprintf(text, sizeof text, "{%0.3f, %0.3f}", double(c[0]), double(c[3]));
  } else {
    std::snprintf(text, sizeof text, "{%0.3f, %0.3f, %0.3f, %0.3f}", double(c[0]), double(c[1]), double(c[2]),
                  double(c[3]));
  }
  return text;
}

std::string ColorExpanded::hexStringFromColor(const pf::Color& color) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(rgbHex(color)));
  return text;
}

pf::Color ColorExpanded::colorWithRGBHex(std::uint32_t hex) {
  return pf::Color::fromRgba(((hex >> 16) & 0xFF) / 255.0f, ((hex >> 8) & 0xFF) / 255.0f, (hex & 0xFF) / 255.0f,
                             1.0);
}

std::optional<pf::Color> ColorExpanded::colorWithHexString(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
  if (text.size() - pos > 2 && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
      std::isxdigit(static_cast<unsigned char>(text[pos + 2]))) {
    pos += 2;
  }
  const size_t start = pos;
  std::uint32_t hex = 0;
  for (; pos < text.size() && std::isxdigit(static_cast<unsigned char>(text[pos])); ++pos) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[pos])));
    const unsigned digit = c <= '9' ? unsigned(c - '0') : unsigned(c - 'a' + 10);
    // Too many digits saturate, as the platform's scanner does.
    hex = hex > (std::numeric_limits<std::uint32_t>::max() >> 4) ? std::numeric_limits<std::uint32_t>::max()
                                                                 : (hex << 4) | digit;
  }
  if (pos == start) return std::nullopt;
  return colorWithRGBHex(hex);
}

std::optional<pf::Color> ColorExpanded::colorWithString(const std::string& text) {
  ColorTextScanner scanner(text);
  if (!scanner.scanChar('{')) return std::nullopt;
  std::vector<float> numbers;
  for (;;) {
    const std::optional<float> number = scanner.scanNumber();
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (scanner.scanChar('}')) break;
    if (numbers.size() == 4 || !scanner.scanChar(',')) return std::nullopt;
  }
  if (!scanner.atEnd()) return std::nullopt;
  if (numbers.size() == 2) return pf::Color::fromWhite(numbers[0], numbers[1]);
  if (numbers.size() == 4) return pf::Color::fromRgba(numbers[0], numbers[1], numbers[2], numbers[3]);
  return std::nullopt;
}

std::optional<pf::Color> ColorExpanded::colorWithName(const std::string& name) {
  ColorNameCache& cache = colorNameCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  const auto cached = cache.colors.find(name);
  if (cached != cache.colors.end()) return cached->second;
  std::optional<pf::Color> color = ColorExpandedSupport::searchForColorByName(name);
  cache.colors.emplace(name, color);
  return color;
}

bool ColorExpanded::isNameCached(const std::string& name) {
  ColorNameCache& cache = colorNameCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  return cache.colors.count(name) > 0;
}

pf::Color ColorExpanded::randomColor() {
  constexpr double kRandomMax = 2147483647.0;  // random() answers 0 to 2^31 - 1
  const auto component = [] { return static_cast<float>(static_cast<double>(::random()) / kRandomMax); };
  const float red = component();
  const float green = component();
  return pf::Color::fromRgba(red, green, component(), 1.0);
}

std::optional<pf::Color> ColorExpanded::colorFromImage(const std::shared_ptr<const pf::Image>& image,
                                                       float atOppsiteX, float atOppsiteY, float inRegionScale) {
  if (!image || !image->bitmap()) return std::nullopt;
  const pf::Bitmap& bitmap = *image->bitmap();
  const int width = regionSide(inRegionScale, bitmap.width());
  const int height = regionSide(inRegionScale, bitmap.height());
  const int x = regionStart(atOppsiteX, width, bitmap.width());
  const int y = regionStart(atOppsiteY, height, bitmap.height());
  std::shared_ptr<pf::Bitmap> region = bitmap.cropped(x, y, width, height);
  if (!region) return std::nullopt;
  return pf::Color::fromPatternImage(pf::Image::withBitmap(std::move(region), image->scale()));
}
