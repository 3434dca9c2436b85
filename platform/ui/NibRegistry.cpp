#include "platform/ui/NibRegistry.h"

#include <cctype>
#include <map>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"

namespace pf {

namespace {

std::map<std::string, std::unique_ptr<NibClass>>& classes() {
  static std::map<std::string, std::unique_ptr<NibClass>> registered;
  return registered;
}

const std::map<std::string, long long> kTextAlignments{
    {"left", 0}, {"right", 1}, {"center", 2}, {"justified", 3}, {"natural", 4}};
const std::map<std::string, long long> kLineBreakModes{{"wordWrap", 0},       {"charWrap", 1},
                                                       {"clip", 2},           {"truncatingHead", 3},
                                                       {"truncatingTail", 4}, {"truncatingMiddle", 5}};

// A button property kept per state: the file sets the state its name says.
template <typename Setter>
void perState(NibClassBuilder<Button>& b, const std::string& name, NibKind kind, Setter setter) {
  const std::pair<const char*, unsigned> states[] = {{"", Control::kNormal},
                                                     {"highlighted", Control::kHighlighted},
                                                     {"selected", Control::kSelected},
                                                     {"disabled", Control::kDisabled}};
  for (const auto& entry : states) {
    const unsigned state = entry.second;
    std::string key = entry.first;
    key += key.empty() ? name : std::string(1, static_cast<char>(std::toupper(name[0]))) + name.substr(1);
    b.property(key, kind,
               [setter, state](Button& button, const NibValue& value) { setter(button, value, state); });
  }
}

void defineControls() {
  NibRegistry::define<Control>([](NibClassBuilder<Control>& b) {
    b.property("enabled", &Control::setEnabled)
        .property("selected", &Control::setSelected)
        .property("highlighted", &Control::setHighlighted)
        .named("contentHorizontalAlignment", &Control::setContentHorizontalAlignment,
               {{"center", 0}, {"left", 1}, {"right", 2}, {"fill", 3}})
        .named("contentVerticalAlignment", &Control::setContentVerticalAlignment,
               {{"center", 0}, {"top", 1}, {"bottom", 2}, {"fill", 3}})
        .sendsActions([](Control& control, unsigned events, std::function<void(const ObjectPtr&)> handler) {
          control.addAction([handler = std::move(handler)](Control& sender,
                                                           unsigned) { handler(sender.shared_from_this()); },
                            events);
        });
  });
  NibRegistry::define<Button>([](NibClassBuilder<Button>& b) {
    perState(b, "title", NibKind::Text, [](Button& button, const NibValue& v, unsigned state) {
      button.setTitle(std::get<std::string>(v), state);
    });
    perState(b, "titleColor", NibKind::Colour, [](Button& button, const NibValue& v, unsigned state) {
      button.setTitleColor(std::get<Color>(v), state);
    });
    perState(b, "image", NibKind::Image, [](Button& button, const NibValue& v, unsigned state) {
      button.setImage(std::get<std::shared_ptr<Image>>(v), state);
    });
    perState(b, "backgroundImage", NibKind::Image, [](Button& button, const NibValue& v, unsigned state) {
      button.setBackgroundImage(std::get<std::shared_ptr<Image>>(v), state);
    });
    b.property("font", NibKind::Font, [](Button& button, const NibValue& v) {
      button.titleLabel()->setFont(std::get<std::shared_ptr<const Font>>(v));
    });
    b.property("showsTouchWhenHighlighted", &Button::setShowsTouchWhenHighlighted)
        .property("adjustsImageWhenHighlighted", &Button::setAdjustsImageWhenHighlighted);
  });
  NibRegistry::define<Label>([](NibClassBuilder<Label>& b) {
    b.property("text", &Label::setText)
        .property("font", &Label::setFont)
        .property("textColor", &Label::setTextColor)
        .property("highlightedTextColor", &Label::setHighlightedTextColor)
        .named("textAlignment", &Label::setTextAlignment, kTextAlignments)
        .named("lineBreakMode", &Label::setLineBreakMode, kLineBreakModes)
        .property("numberOfLines", &Label::setNumberOfLines)
        .property("shadowColor", &Label::setShadowColor)
        .property("shadowOffset", &Label::setShadowOffset)
        .property("highlighted", &Label::setHighlighted)
        .property("enabled", &Label::setEnabled)
        .property("adjustsFontSizeToFitWidth", &Label::setAdjustsFontSizeToFitWidth)
        .property("minimumFontSize", &Label::setMinimumFontSize);
  });
  NibRegistry::define<ImageView>([](NibClassBuilder<ImageView>& b) {
    b.property("image", &ImageView::setImage)
        .property("highlightedImage", &ImageView::setHighlightedImage)
        .property("highlighted", &ImageView::setHighlighted);
  });
}

// Views a file makes as they are, and the text views and cells it fills in.
void defineOtherViews() {
  NibRegistry::define<ScrollView>([](NibClassBuilder<ScrollView>& b) {
    b.property("pagingEnabled", &ScrollView::setPagingEnabled)
        .property("showsHorizontalScrollIndicator", &ScrollView::setShowsHorizontalScrollIndicator)
        .property("bounces", &ScrollView::setBounces);
  });
  NibRegistry::define<TableView>();
  NibRegistry::define<TableViewCell>([](NibClassBuilder<TableViewCell>& b) {
    b.property("reuseIdentifier", &TableViewCell::setReuseIdentifier);
  });
  NibRegistry::define<TextView>([](NibClassBuilder<TextView>& b) {
    b.property("text", &TextView::setText)
        .property("font", &TextView::setFont)
        .property("textColor", &TextView::setTextColor)
        .property("editable", &TextView::setEditable);
  });
  NibRegistry::define<TextField>([](NibClassBuilder<TextField>& b) {
    b.property("text", &TextField::setText)
        .property("placeholder", &TextField::setPlaceholder)
        .property("font", &TextField::setFont)
        .property("textColor", &TextField::setTextColor)
        .property("secureTextEntry", &TextField::setSecureTextEntry);
  });
  NibRegistry::define<NavigationBar>();
  NibRegistry::define<TabBar>();
  NibRegistry::define<Toolbar>();
  NibRegistry::define<SearchBar>();
  NibRegistry::define<WebView>();
  NibRegistry::define<ActivityIndicatorView>();
  NibRegistry::define<ProgressView>();
  NibRegistry::define<Switch>();
  NibRegistry::define<Slider>();
  NibRegistry::define<SegmentedControl>();
  NibRegistry::define<PageControl>();
}

void definePlatformClasses() {
  NibRegistry::define<View>([](NibClassBuilder<View>& b) {
    b.property("frame", &View::setFrame)
        .property("backgroundColor", &View::setBackgroundColor)
        .property("alpha", &View::setAlpha)
        .property("hidden", &View::setHidden)
        .property("tag", &View::setTag)
        .property("clipsToBounds", &View::setClipsToBounds)
        .property("opaque", &View::setOpaque)
        .property("userInteractionEnabled", &View::setUserInteractionEnabled)
        .property("multipleTouchEnabled", &View::setMultipleTouchEnabled)
        .property("exclusiveTouch", &View::setExclusiveTouch)
        .property("autoresizesSubviews", &View::setAutoresizesSubviews)
        .named("autoresizingMask", &View::setAutoresizingMask,
               {{"none", View::kAutoresizingNone},
                {"flexibleLeftMargin", View::kFlexibleLeftMargin},
                {"flexibleWidth", View::kFlexibleWidth},
                {"flexibleRightMargin", View::kFlexibleRightMargin},
                {"flexibleTopMargin", View::kFlexibleTopMargin},
                {"flexibleHeight", View::kFlexibleHeight},
                {"flexibleBottomMargin", View::kFlexibleBottomMargin}},
               true)
        .named("contentMode", &View::setContentMode,
               {{"scaleToFill", 0},
                {"scaleAspectFit", 1},
                {"scaleAspectFill", 2},
                {"redraw", 3},
                {"center", 4},
                {"top", 5},
                {"bottom", 6},
                {"left", 7},
                {"right", 8},
                {"topLeft", 9},
                {"topRight", 10},
                {"bottomLeft", 11},
                {"bottomRight", 12}});
  });
  defineControls();
  defineOtherViews();
  NibRegistry::define<ViewController>([](NibClassBuilder<ViewController>& b) {
    b.outlet("view", &ViewController::setView)
        .property("title", &ViewController::setTitle)
        .property("hidesBottomBarWhenPushed", &ViewController::setHidesBottomBarWhenPushed)
        .named("modalTransitionStyle", &ViewController::setModalTransitionStyle,
               {{"coverVertical", 0}, {"flipHorizontal", 1}, {"crossDissolve", 2}, {"partialCurl", 3}});
  });
  NibRegistry::define<NavigationController>([](NibClassBuilder<NavigationController>& b) {
    b.outlet("delegate", &NavigationController::setDelegate)
        .property("navigationBarHidden", NibKind::Flag, [](NavigationController& n, const NibValue& v) {
          n.setNavigationBarHidden(std::get<bool>(v), false);
        });
  });
  NibRegistry::define<TabBarController>(
      [](NibClassBuilder<TabBarController>& b) { b.outlet("delegate", &TabBarController::setDelegate); });
}

void ensurePlatformClasses() {
  static bool defined = false;
  if (defined) return;
  defined = true;
  definePlatformClasses();
}

}  // namespace

const NibClass* NibRegistry::find(const std::string& name) {
  ensurePlatformClasses();
  auto at = classes().find(name);
  return at == classes().end() ? nullptr : at->second.get();
}

const NibClass* NibRegistry::nearest(const Class* runtime) {
  ensurePlatformClasses();
  for (; runtime; runtime = runtime->superclass()) {
    auto at = classes().find(runtime->name());
    if (at != classes().end()) return at->second.get();
  }
  return nullptr;
}

const NibClass& NibRegistry::add(std::unique_ptr<NibClass> cls) {
  // A class defined again keeps its place, so subclasses keep finding it.
  auto& slot = classes()[cls->name()];
  if (slot) {
    *slot = std::move(*cls);
  } else {
    slot = std::move(cls);
  }
  return *slot;
}

}  // namespace pf
