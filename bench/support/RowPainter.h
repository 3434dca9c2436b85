#pragma once
// The raw side of the list benchmarks: what a screen shows, taken once from its view tree as plain
// drawing steps (filled rectangles, pictures, Pango text in frames), then drawn straight into a Cairo
// bitmap without views. Rows are taken one cell at a time, the screen's fixed parts (bars, headers)
// once with the list left out, so a frame of a list drawn directly is the fixed parts plus the rows
// under the list's window, each at its offset.

#include <cairo.h>
#include <pango/pangocairo.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/components/richlabel/RichLabel.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/text/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

namespace bench {

class RowPainter {
 public:
  struct Step {
    enum class Kind { fill, picture, text } kind = Kind::fill;
    pf::Rect frame;
    pf::Rgba colour;
    cairo_surface_t* picture = nullptr;  // owned by the painter
    std::string text;
    PangoFontDescription* font = nullptr;  // owned by the painter
    PangoAlignment alignment = PANGO_ALIGN_LEFT;
    bool oneLine = false, centred = false;
  };
  using Steps = std::vector<Step>;

  ~RowPainter() {
    for (auto& [bitmap, surface] : surfaces_) cairo_surface_destroy(surface);
    for (auto& [name, font] : fonts_) pango_font_description_free(font);
  }

  // The steps that draw the view and what it holds, in the coordinates of `root` (null: the window);
  // `skip` and what it holds are left out.
  Steps take(const pf::View& view, const pf::View* root, const pf::View* skip = nullptr) {
    Steps steps;
    collect(view, root, skip, steps);
    return steps;
  }

  void draw(cairo_t* cr, const Steps& steps, double dx = 0, double dy = 0) {
    for (const Step& step : steps) {
      const double x = step.frame.origin.x + dx, y = step.frame.origin.y + dy;
      const double w = step.frame.size.width, h = step.frame.size.height;
      switch (step.kind) {
        case Step::Kind::fill:
          cairo_set_source_rgba(cr, step.colour.red, step.colour.green, step.colour.blue, step.colour.alpha);
          cairo_rectangle(cr, x, y, w, h);
          cairo_fill(cr);
          break;
        case Step::Kind::picture: {
          const double pw = cairo_image_surface_get_width(step.picture);
          const double ph = cairo_image_surface_get_height(step.picture);
          cairo_save(cr);
          cairo_rectangle(cr, x, y, w, h);
          cairo_clip(cr);
          cairo_translate(cr, x, y);
          cairo_scale(cr, w / pw, h / ph);
          cairo_set_source_surface(cr, step.picture, 0, 0);
          cairo_paint(cr);
          cairo_restore(cr);
          break;
        }
        case Step::Kind::text: {
          PangoLayout* layout = pango_cairo_create_layout(cr);
          pango_layout_set_font_description(layout, step.font);
          pango_layout_set_text(layout, step.text.c_str(), -1);
          pango_layout_set_width(layout, int(w * PANGO_SCALE));
          pango_layout_set_alignment(layout, step.alignment);
          if (step.oneLine) {
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
          } else {
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
            pango_layout_set_height(layout, int(h * PANGO_SCALE));
          }
          double top = y;
          if (step.centred) {
            int textWidth = 0, textHeight = 0;
            pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
            top += (h - textHeight) / 2;
          }
          cairo_set_source_rgba(cr, step.colour.red, step.colour.green, step.colour.blue, step.colour.alpha);
          cairo_move_to(cr, x, top);
          pango_cairo_show_layout(cr, layout);
          g_object_unref(layout);
          break;
        }
      }
    }
  }

 private:
  void collect(const pf::View& view, const pf::View* root, const pf::View* skip, Steps& steps) {
    if (&view == skip || view.isHidden() || view.alpha() <= 0.01) return;
    const pf::Rect frame = view.convertRectToView(view.bounds(), root);
    if (const auto background = view.backgroundColor()) {
      if (const auto rgba = background->rgba(); rgba && rgba->alpha > 0.01)
        steps.push_back({Step::Kind::fill, frame, *rgba});
    }
    if (const auto* label = dynamic_cast<const pf::Label*>(&view)) {
      if (label->text() && !label->text()->empty() && label->font()) {
        Step step{Step::Kind::text, frame, label->textColor().rgba().value_or(pf::Rgba{})};
        step.text = *label->text();
        step.font = font(*label->font());
        step.alignment = alignment(label->textAlignment());
        step.oneLine = label->numberOfLines() == 1;
        step.centred = true;
        steps.push_back(std::move(step));
      }
    } else if (const auto* rich = dynamic_cast<const RichLabel*>(&view)) {
      if (rich->plainText() && !rich->plainText()->empty() && rich->font()) {
        Step step{Step::Kind::text, frame, rich->textColor().rgba().value_or(pf::Rgba{})};
        step.text = *rich->plainText();
        step.font = font(*rich->font());
        steps.push_back(std::move(step));
      }
    } else if (const auto* imageView = dynamic_cast<const pf::ImageView*>(&view)) {
      if (const auto& image = imageView->image(); image && image->bitmap()) {
        Step step{Step::Kind::picture, frame};
        step.picture = surface(image->bitmap());
        steps.push_back(std::move(step));
      }
    }
    for (const auto& sub : view.subviews()) collect(*sub, root, skip, steps);
  }

  static PangoAlignment alignment(pf::TextAlignment value) {
    if (value == pf::TextAlignment::center) return PANGO_ALIGN_CENTER;
    if (value == pf::TextAlignment::right) return PANGO_ALIGN_RIGHT;
    return PANGO_ALIGN_LEFT;
  }
  PangoFontDescription* font(const pf::Font& font) {
    const std::string key = font.pangoDescription() + "/" + std::to_string(font.pointSize());
    PangoFontDescription*& description = fonts_[key];
    if (!description) {
      description = pango_font_description_from_string(font.pangoDescription().c_str());
      pango_font_description_set_absolute_size(description, font.pointSize() * PANGO_SCALE);
    }
    return description;
  }
  // The picture's own pixels: the bitmap's layout is Cairo's, so nothing is copied.
  cairo_surface_t* surface(const std::shared_ptr<const pf::Bitmap>& bitmap) {
    cairo_surface_t*& surface = surfaces_[bitmap.get()];
    if (!surface) {
      bitmaps_.push_back(bitmap);
      surface = cairo_image_surface_create_for_data(const_cast<unsigned char*>(bitmap->data()), CAIRO_FORMAT_ARGB32,
                                                    bitmap->width(), bitmap->height(), bitmap->stride());
    }
    return surface;
  }

  std::map<const pf::Bitmap*, cairo_surface_t*> surfaces_;
  std::vector<std::shared_ptr<const pf::Bitmap>> bitmaps_;  // kept alive while their surfaces are
  std::map<std::string, PangoFontDescription*> fonts_;
};

}  // namespace bench
