#include "app/tour/ScreenInspector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/foundation/Utf16.h"
#include "platform/text/AttributedString.h"
#include "platform/text/Framesetter.h"
#include "platform/text/TextAttributes.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/View.h"
#include "ui/grid/GridView.h"
#include "ui/hud/ProgressHUD.h"

namespace {

// Below this a view does not show.
constexpr double kScreenInspectorMinAlpha = 0.02;
// Layout rounds to whole points; a line this much taller than its frame is not called cut.
constexpr double kScreenInspectorSlack = 1;
// Texts in findings stop after this many characters.
constexpr std::size_t kScreenInspectorQuoteUnits = 40;

std::string screenInspectorQuote(const std::string& text) {
  std::string shown = pf::utf16::prefix(text, kScreenInspectorQuoteUnits);
  if (shown.size() < text.size()) shown += "…";
  for (char& c : shown)
    if (c == '\n' || c == '\t' || c == '\r') c = ' ';
  return "\"" + shown + "\"";
}

long screenInspectorRows(const pf::TableView& table) {
  long rows = 0;
  for (long section = 0; section < table.numberOfSections(); ++section) rows += table.numberOfRowsInSection(section);
  return rows;
}

template <typename... Args>
std::string screenInspectorPrint(const char* format, Args... args) {
  char text[160];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

std::string screenInspectorFrame(const pf::Rect& frame) {
  return screenInspectorPrint("%gx%g at (%g,%g)", frame.width(), frame.height(), frame.origin.x, frame.origin.y);
}

// A button draws its title with a label it places when laid out; one never laid out shows none.
bool screenInspectorShowsTitle(const pf::Button& button, const std::string& title) {
  return std::any_of(button.subviews().begin(), button.subviews().end(), [&](const auto& view) {
    const auto* label = dynamic_cast<const pf::Label*>(view.get());
    return label && !label->isHidden() && !label->bounds().isEmpty() && label->text() == title;
  });
}

class ScreenInspectorWalk {
 public:
  explicit ScreenInspectorWalk(const pf::View& root) : root_(root) {}

  void visit(const pf::View& view, const pf::Rect& clip) {
    if (view.isHidden() || view.alpha() < kScreenInspectorMinAlpha) return;
    // A box is reported whole, with its text; its own labels are not looked at apart.
    if (lookForBox(view)) return;
    const pf::Rect inRoot = view.convertRectToView(view.bounds(), &root_);
    const pf::Rect shown = inRoot.intersection(clip);
    if (shown.isEmpty() && view.clipsToBounds()) return;
    if (!shown.isEmpty()) look(view, inRoot);
    const pf::Rect inner = view.clipsToBounds() ? shown : clip;
    for (const auto& subview : view.subviews()) visit(*subview, inner);
  }

  std::vector<ScreenFinding> findings;

 private:
  void add(ScreenFinding::Kind kind, std::string what) { findings.push_back({kind, std::move(what)}); }

  bool lookForBox(const pf::View& view) {
    if (const auto* alert = dynamic_cast<const pf::AlertView*>(&view)) {
      add(ScreenFinding::Kind::ErrorBox, "alert " + screenInspectorQuote(alert->title().value_or("")) + " " +
                                             screenInspectorQuote(alert->message().value_or("")));
      return true;
    }
    if (const auto* hud = dynamic_cast<const ProgressHUD*>(&view); hud && hud->mode() == ProgressHUD::kText) {
      add(ScreenFinding::Kind::ErrorBox,
          "message box " + screenInspectorQuote(hud->detailsLabelText().value_or(hud->labelText().value_or(""))));
      return true;
    }
    return false;
  }

  void look(const pf::View& view, const pf::Rect& inRoot) {
    if (const auto* table = dynamic_cast<const pf::TableView*>(&view); table && screenInspectorRows(*table) == 0) {
      add(ScreenFinding::Kind::EmptyList, std::string(view.className()) + " " + screenInspectorFrame(inRoot));
    } else if (const auto* grid = dynamic_cast<const GridView*>(&view); grid && grid->numberTotalItems() == 0) {
      add(ScreenFinding::Kind::EmptyList, std::string(view.className()) + " " + screenInspectorFrame(inRoot));
    } else if (const auto* label = dynamic_cast<const pf::Label*>(&view)) {
      if (auto why = ScreenInspector::cutText(*label))
        add(ScreenFinding::Kind::CutText, screenInspectorQuote(*label->text()) + " " + *why + " at " +
                                              screenInspectorFrame(inRoot));
    } else if (const auto* button = dynamic_cast<const pf::Button*>(&view)) {
      const auto title = button->currentTitle();
      if (title && !title->empty() && !screenInspectorShowsTitle(*button, *title))
        add(ScreenFinding::Kind::CutText,
            screenInspectorQuote(*title) + " not shown on its button at " + screenInspectorFrame(inRoot));
    }
  }

  const pf::View& root_;
};

}  // namespace

std::vector<ScreenFinding> ScreenInspector::inspect(const std::shared_ptr<pf::View>& root,
                                                    const std::vector<std::string>& missedPictures) {
  std::vector<ScreenFinding> findings;
  if (root) {
    ScreenInspectorWalk walk(*root);
    walk.visit(*root, root->bounds());
    findings = std::move(walk.findings);
  }
  for (const auto& name : missedPictures) findings.push_back({ScreenFinding::Kind::MissingPicture, name});
  return findings;
}

std::optional<std::string> ScreenInspector::cutText(const pf::Label& label) {
  const auto& text = label.text();
  if (!text || text->empty()) return std::nullopt;
  const auto font = label.fontForDrawing();
  const pf::Size size = label.bounds().size;
  const double line = std::ceil(font->lineHeight());
  if (size.width <= 0 || size.height <= 0) return "in an empty frame";
  // The lines the label may show: its line limit within its height; the first line always draws.
  double room = size.height;
  if (label.numberOfLines() > 0) room = std::min(room, label.numberOfLines() * line);
  room = std::max(room, line) + kScreenInspectorSlack;
  pf::TextAttributes attributes;
  attributes.font = font;
  pf::ParagraphStyle style;
  style.lineBreakMode = pf::LineBreakMode::wordWrap;
  attributes.paragraphStyle = style;
  const pf::Framesetter framesetter(pf::AttributedString(*text, attributes));
  const auto fit = framesetter.suggestFrameSize({0, 0}, {size.width, room}).fitRange;
  const std::size_t units = pf::utf16::length(*text);
  if (fit.location + fit.length < units)
    return screenInspectorPrint("truncated: %zu of %zu characters fit", fit.location + fit.length, units);
  // The line box has room above and below the letters; letters an em high that do not fit are cut.
  if (font->pointSize() > size.height + kScreenInspectorSlack)
    return screenInspectorPrint("clipped: letters of %g points in a frame %g high", font->pointSize(), size.height);
  return std::nullopt;
}
