#pragma once
// Colour helpers the screens use: components and colour model of a colour, clamped arithmetic,
// text forms, colours from hexadecimal values, text, CSS colour names and a region of a picture.
// Components are single-precision, as the screens see them. Operations that need RGB components
// throw pf::ContractViolation with a fixed message for a colour of another model. Any thread.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"

namespace pf {
class Image;
}

class ColorExpanded {
 public:
  // Components and model.
  static int colorSpaceModel(const pf::Color& color);
  static std::string colorSpaceString(const pf::Color& color);
  // The text for a model number ("Not a valid color space" for numbers without a model).
  static std::string colorSpaceString(int model);
  static bool canProvideRGBComponents(const pf::Color& color);
  // Writes the components that are asked for; false (nothing written) without RGB components.
  static bool red(const pf::Color& color, float* red, float* green, float* blue, float* alpha);
  static float red(const pf::Color& color);
  static float green(const pf::Color& color);
  static float blue(const pf::Color& color);
  static float white(const pf::Color& color);
  static float alpha(const pf::Color& color);
  static std::uint32_t rgbHex(const pf::Color& color);
  static std::array<float, 4> arrayFromRGBAComponents(const pf::Color& color);

  // Arithmetic; every result is an RGB colour.
  static pf::Color colorByLuminanceMapping(const pf::Color& color);
  static pf::Color colorByMultiplyingByRed(const pf::Color& color, float red, float green, float blue, float alpha);
  static pf::Color colorByAddingRed(const pf::Color& color, float red, float green, float blue, float alpha);
  static pf::Color colorByLighteningToRed(const pf::Color& color, float red, float green, float blue, float alpha);
  static pf::Color colorByDarkeningToRed(const pf::Color& color, float red, float green, float blue, float alpha);
  static pf::Color colorByMultiplyingBy(const pf::Color& color, float value);
  static pf::Color colorByAdding(const pf::Color& color, float value);
  static pf::Color colorByLighteningTo(const pf::Color& color, float value);
  static pf::Color colorByDarkeningTo(const pf::Color& color, float value);
  // The other colour's red, green and blue against the receiver.
  static pf::Color colorByMultiplyingByColor(const pf::Color& color, const pf::Color& other);
  static pf::Color colorByAddingColor(const pf::Color& color, const pf::Color& other);
  static pf::Color colorByLighteningToColor(const pf::Color& color, const pf::Color& other);
  static pf::Color colorByDarkeningToColor(const pf::Color& color, const pf::Color& other);

  // Text forms: "{grey, alpha}" or "{red, green, blue, alpha}" with three decimals; six upper-case
  // hexadecimal digits.
  static std::string stringFromColor(const pf::Color& color);
  static std::string hexStringFromColor(const pf::Color& color);

  // Colours made from values and text.
  static pf::Color colorWithRGBHex(std::uint32_t hex);
  // A hexadecimal number after optional white space and "0x"; nullopt without one ("#105CB6").
  static std::optional<pf::Color> colorWithHexString(const std::string& text);
  // The forms stringFromColor writes; nullopt for anything else.
  static std::optional<pf::Color> colorWithString(const std::string& text);
  // A CSS colour keyword, exactly as spelt in lower case; answers are cached, misses too.
  static std::optional<pf::Color> colorWithName(const std::string& name);
  // Whether the name cache holds an answer (or a miss) for the name.
  static bool isNameCached(const std::string& name);
  static pf::Color randomColor();
  // A pattern of the picture's region whose top-left corner lies at (x, y) in fractions of the
  // picture's pixel size and whose sides are scale times its width and height. A region reaching
  // outside the picture is moved and cut to lie inside it, at least one pixel. nullopt without a picture.
  static std::optional<pf::Color> colorFromImage(const std::shared_ptr<const pf::Image>& image, float atOppsiteX,
                                                 float atOppsiteY, float inRegionScale);
};
