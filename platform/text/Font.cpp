#include "platform/text/Font.h"

#include "platform/text/PangoSupport.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

namespace pf {

namespace {

std::string folded(std::string_view name) {
  std::string out;
  for (char c : name)
    if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string findSystemFamily() {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=zh-cn"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string family = "Sans";
  FcChar8* name = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
    family = reinterpret_cast<char*>(name);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return family;
}

// Installed families, folded (lower case, no spaces) to their own spelling.
const std::map<std::string, std::string>& installedFamilies() {
  static const std::map<std::string, std::string> families = [] {
    std::map<std::string, std::string> out;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    for (int i = 0; set && i < set->nfont; ++i) {
      FcChar8* name = nullptr;
      for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n)
        out.emplace(folded(reinterpret_cast<char*>(name)), reinterpret_cast<char*>(name));
    }
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return out;
  }();
  return families;
}

bool standsForSystem(const std::string& foldedFamily) {
  static const std::set<std::string> kPlatformFamilies = {"system",
                                                          "helvetica",
                                                          "helveticaneue",
                                                          "arial",
                                                          ".helveticaneueui",
                                                          "heitisc",
                                                          "stheitisc",
                                                          "stheititc",
                                                          "heititc",
                                                          "pingfangsc",
                                                          "stheiti",
                                                          "hiraginosansgb",
                                                          "hiraginokakugothicpron"};
  return kPlatformFamilies.contains(foldedFamily);
}

struct Metrics {
  double ascender, descender, leading;
};

Metrics metricsFor(const std::string& description) {
  thread_local std::map<std::string, Metrics> cache;
  if (auto it = cache.find(description); it != cache.end()) return it->second;
  PangoFontDescription* desc = pango_font_description_from_string(description.c_str());
  PangoFontMetrics* metrics = pango_context_get_metrics(threadPangoContext(), desc, nullptr);
  const double ascent = fromPango(pango_font_metrics_get_ascent(metrics));
  const double descent = fromPango(pango_font_metrics_get_descent(metrics));
  const double height = fromPango(pango_font_metrics_get_height(metrics));
  pango_font_metrics_unref(metrics);
  pango_font_description_free(desc);
  const Metrics m{ascent, -descent, std::max(0.0, height - ascent - descent)};
  cache.emplace(description, m);
  return m;
}

}  // namespace

Font::Font(std::string family, double size, bool bold, bool italic)
    : family_(std::move(family)), size_(size > 0 ? size : 0), bold_(bold), italic_(italic) {
  const Metrics m = metricsFor(pangoDescription());
  ascender_ = m.ascender;
  descender_ = m.descender;
  leading_ = m.leading;
}

const std::string& Font::systemFamilyName() {
  static const std::string family = findSystemFamily();
  return family;
}

std::shared_ptr<const Font> Font::systemFont(double size) {
  return std::make_shared<Font>(systemFamilyName(), size, false, false);
}

std::shared_ptr<const Font> Font::boldSystemFont(double size) {
  return std::make_shared<Font>(systemFamilyName(), size, true, false);
}

std::shared_ptr<const Font> Font::italicSystemFont(double size) {
  return std::make_shared<Font>(systemFamilyName(), size, false, true);
}

std::shared_ptr<const Font> Font::withName(std::string_view name, double size) {
  std::string family(name);
  bool bold = false, italic = false;
  if (const auto dash = name.rfind('-'); dash != std::string_view::npos && dash > 0) {
    const std::string style = folded(name.substr(dash + 1));
    static const std::map<std::string, std::pair<bool, bool>> kStyles = {
        {"regular", {false, false}}, {"roman", {false, false}},    {"medium", {false, false}},
        {"light", {false, false}},   {"bold", {true, false}},      {"italic", {false, true}},
        {"oblique", {false, true}},  {"bolditalic", {true, true}}, {"boldoblique", {true, true}},
    };
    if (const auto it = kStyles.find(style); it != kStyles.end()) {
      family = std::string(name.substr(0, dash));
      bold = it->second.first;
      italic = it->second.second;
    }
  }
  const std::string key = folded(family);
  if (key.empty()) return nullptr;
  if (standsForSystem(key)) return std::make_shared<Font>(systemFamilyName(), size, bold, italic);
  const auto& installed = installedFamilies();
  const auto it = installed.find(key);
  if (it == installed.end()) return nullptr;
  return std::make_shared<Font>(it->second, size, bold, italic);
}

std::shared_ptr<const Font> Font::withNameOrSystem(std::string_view name, double size) {
  if (auto font = withName(name, size)) return font;
  return systemFont(size);
}

std::string Font::fontName() const {
  if (bold_ && italic_) return family_ + "-BoldItalic";
  if (bold_) return family_ + "-Bold";
  if (italic_) return family_ + "-Italic";
  return family_;
}

std::shared_ptr<const Font> Font::withSize(double size) const {
  return std::make_shared<Font>(family_, size, bold_, italic_);
}

std::shared_ptr<const Font> Font::withTraits(bool bold, bool italic) const {
  return std::make_shared<Font>(family_, size_, bold, italic);
}

std::string Font::pangoDescription() const {
  // Written without the locale, which may use a decimal comma.
  // Sizes beyond what Pango can lay out (or what fits the buffer) are drawn at the largest it can.
  constexpr double kLargestSize = 10000;
  const double shown = std::isfinite(size_) ? std::clamp(size_, 0.0, kLargestSize) : 0.0;
  char size[32];
  const auto end = std::to_chars(size, size + sizeof size - 3, shown, std::chars_format::fixed, 4).ptr;
  std::memcpy(end, "px", 3);
  // A trailing comma keeps a family name that ends in a style word from being read as a style.
  return family_ + "," + (bold_ ? " Bold" : "") + (italic_ ? " Italic" : "") + " " + size;
}

}  // namespace pf
