#pragma once
// A colour as the platform keeps it: a colour model and its components. Greys made with a white
// level stay monochrome (one grey value and alpha), colours made from RGB or HSB are RGB, and a
// pattern colour tiles an image. Components are not clamped: extended values outside 0..1 are kept.
// Two colours are equal when their model and components are equal (patterns: the same image).

#include <memory>
#include <optional>

namespace pf {

class Image;

// The platform's numbers for colour models.
enum class ColorSpaceModel : int {
  unknown = -1,
  monochrome = 0,
  rgb = 1,
  cmyk = 2,
  lab = 3,
  deviceN = 4,
  indexed = 5,
  pattern = 6,
};

struct Rgba {
  double red = 0, green = 0, blue = 0, alpha = 1;
  bool operator==(const Rgba&) const = default;
};

struct Hsba {
  double hue = 0, saturation = 0, brightness = 0, alpha = 1;
};

class Color {
 public:
  // Opaque black.
  Color() = default;

  static Color fromRgba(double red, double green, double blue, double alpha = 1);
  static Color fromWhite(double white, double alpha = 1);
  // Hue, saturation and brightness in 0..1 (hue 1 wraps to red).
  static Color fromHsba(double hue, double saturation, double brightness, double alpha = 1);
  // Tiles the image when filling; draws nothing without an image.
  static Color fromPatternImage(std::shared_ptr<const Image> image);

  static Color clear();
  static Color black();
  static Color darkGray();
  static Color lightGray();
  static Color white();
  static Color gray();
  static Color red();
  static Color green();
  static Color blue();
  static Color cyan();
  static Color yellow();
  static Color magenta();
  static Color orange();
  static Color purple();
  static Color brown();
  static Color lightText();
  static Color darkText();
  static Color groupTableViewBackground();

  ColorSpaceModel model() const { return model_; }
  double alpha() const { return alpha_; }
  // Red, green, blue and alpha for monochrome and RGB colours (a grey gives its level three times).
  std::optional<Rgba> rgba() const;
  // The grey level of a monochrome colour.
  std::optional<double> whiteLevel() const;
  std::optional<Hsba> hsba() const;
  const std::shared_ptr<const Image>& patternImage() const { return pattern_; }

  Color withAlpha(double alpha) const;

  bool operator==(const Color& other) const;

 private:
  ColorSpaceModel model_ = ColorSpaceModel::monochrome;
  double c0_ = 0, c1_ = 0, c2_ = 0;
  double alpha_ = 1;
  std::shared_ptr<const Image> pattern_;
};

}  // namespace pf
