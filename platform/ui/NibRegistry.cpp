#include "platform/ui/NibRegistry.h"

#include <map>

#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/ViewController.h"

namespace pf {

namespace {

std::map<std::string, std::unique_ptr<NibClass>>& classes() {
  static std::map<std::string, std::unique_ptr<NibClass>> registered;
  return registered;
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
