#include "app/util/ViewUtil.h"

#include <limits>
#include <map>
#include <mutex>

#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "core/util/FileTool.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/foundation/Utf16.h"
#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Control.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Nib.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {

struct ScreenRegistry {
  std::mutex mutex;
  std::map<std::string, ViewUtil::ScreenFactory> factories;
  ViewUtil::NavigationFactory navigation;
};

ScreenRegistry& screenRegistry() {
  static ScreenRegistry instance;
  return instance;
}

bool onTablet() {
  return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad;
}

// The class or file name with the tablet suffix where the idiom asks for it.
std::string forIdiom(const std::string& name) {
  return onTablet() ? name + ViewUtil::kTabletSuffix : name;
}

std::shared_ptr<pf::View> firstViewOf(const std::string& nibName, const pf::ObjectPtr& owner) {
  const auto nib = pf::Nib::nibWithNibName(nibName);
  const auto objects = nib->instantiateWithOwner(owner);
  auto view = objects.empty() ? nullptr : std::dynamic_pointer_cast<pf::View>(objects.front());
  if (!view) throw pf::ContractViolation("The interface file " + nib->path() + " begins with no view");
  return view;
}

}  // namespace

void ViewUtil::registerScreenClass(const std::string& className, ScreenFactory factory) {
  std::lock_guard lock(screenRegistry().mutex);
  screenRegistry().factories[className] = std::move(factory);
}

bool ViewUtil::isScreenClassRegistered(const std::string& className) {
  std::lock_guard lock(screenRegistry().mutex);
  return screenRegistry().factories.contains(className);
}

void ViewUtil::resetScreenClasses() {
  std::lock_guard lock(screenRegistry().mutex);
  screenRegistry().factories.clear();
  screenRegistry().navigation = nullptr;
}

void ViewUtil::registerNavigationController(NavigationFactory factory) {
  std::lock_guard lock(screenRegistry().mutex);
  screenRegistry().navigation = std::move(factory);
}

pf::ObjectPtr ViewUtil::navigationControllerWithRoot(const pf::ObjectPtr& rootViewController) {
  NavigationFactory factory;
  {
    std::lock_guard lock(screenRegistry().mutex);
    factory = screenRegistry().navigation;
  }
  if (!factory) throw pf::ContractViolation("No navigation controller class is registered");
  return factory(rootViewController);
}

std::string ViewUtil::nibNameOfClass(const std::string& className) {
  const std::string base = forIdiom(className);
  const std::string edition = kEditionPrefix + base;
  const std::string editionFile = pf::Bundle::mainBundle()->bundlePath() + "/" + edition + "." + pf::Nib::kExtension;
  return FileTool::fileExistAtPath(editionFile) ? edition : base;
}

pf::ObjectPtr ViewUtil::viewControllerFromNibOfClass(const std::string& className) {
  return viewControllerOfClass(className, nibNameOfClass(className));
}

pf::ObjectPtr ViewUtil::viewControllerOfClass(const std::string& className, const std::string& nibName) {
  ScreenFactory factory;
  {
    std::lock_guard lock(screenRegistry().mutex);
    const auto it = screenRegistry().factories.find(className);
    if (it == screenRegistry().factories.end()) {
      throw pf::ContractViolation("No screen class named " + className + " is registered");
    }
    factory = it->second;
  }
  return factory(nibName);
}

std::shared_ptr<pf::View> ViewUtil::viewFromNib(const std::string& className, const pf::ObjectPtr& owner) {
  return firstViewOf(nibNameOfClass(className), owner);
}

std::shared_ptr<pf::View> ViewUtil::viewFromNibOfClass(const std::string& className) {
  return viewFromNib(className, nullptr);
}

std::shared_ptr<pf::View> ViewUtil::viewFromNibWithNibName(const std::string& nibName, const pf::ObjectPtr& owner) {
  return firstViewOf(forIdiom(nibName), owner);
}

std::shared_ptr<pf::TableViewCell> ViewUtil::tableViewCellWithClass(const std::string& className,
                                                                    pf::TableView& tableView) {
  if (auto cell = tableView.dequeueReusableCellWithIdentifier(className)) return cell;
  tableView.registerNib(pf::Nib::nibWithNibName(forIdiom(className)), className);
  return tableView.dequeueReusableCellWithIdentifier(className);
}

void ViewUtil::configForTableView(pf::TableView& tableView, std::weak_ptr<pf::TableViewDelegate> delegate,
                                  std::weak_ptr<pf::TableViewDataSource> dataSource) {
  tableView.setDelegate(std::move(delegate));
  tableView.setDataSource(std::move(dataSource));
  tableView.setSeparatorStyle(pf::TableView::SeparatorStyle::SingleLine);
  tableView.setBackgroundColor(pf::Color::clear());
  auto backdrop = std::make_shared<pf::ImageView>();
  backdrop->setImage(pf::Image::named("CMN_BASE_bg.png", pf::Screen::mainScreen().scale()));
  tableView.setBackgroundView(backdrop);
}

std::shared_ptr<CmnNaviBtnItem> ViewUtil::backBtnItemWithTarget(std::weak_ptr<void> target,
                                                                std::function<void()> goback) {
  auto item = std::make_shared<CmnNaviBtnItem>("CMN_NAVI_back_n.png", "CMN_NAVI_back_p.png", std::nullopt,
                                               "返回", std::move(target), std::move(goback));
  item->setItemLength(55);
  return item;
}

void ViewUtil::keyBoardShouldShowHiddenButtonOfTextField(const std::shared_ptr<pf::View>& field, bool shouldShow,
                                                         std::weak_ptr<void> target,
                                                         std::function<void()> hideKeyBoard) {
  if (!shouldShow) return;
  auto bar = std::make_shared<pf::Toolbar>(pf::Rect(0, 0, pf::Screen::mainScreen().bounds().width(), 30));
  bar->setBarStyle(pf::Toolbar::BarStyle::BlackTranslucent);
  auto space = std::make_shared<pf::BarButtonItem>(pf::BarButtonItem::SystemItem::FlexibleSpace, std::weak_ptr<void>(),
                                                   pf::BarButtonItem::Action());
  auto hide = std::make_shared<pf::BarButtonItem>(
      std::optional<std::string>("隐藏键盘"), pf::BarButtonItem::Style::Done, std::move(target),
      [hideKeyBoard = std::move(hideKeyBoard)](pf::BarButtonItem&) {
        if (hideKeyBoard) hideKeyBoard();
      });
  bar->setItems({space, hide});
  if (auto textView = std::dynamic_pointer_cast<pf::TextView>(field)) textView->setInputAccessoryView(bar);
  if (auto textField = std::dynamic_pointer_cast<pf::TextField>(field)) textField->setInputAccessoryView(bar);
}

void ViewUtil::configTabBarItemSelectionImage(std::shared_ptr<const pf::Image> image, int top, int left, int bottom,
                                              int right, pf::TabBarItem& item) {
  item.setImage(std::move(image));
  item.setTitleTextAttributes({pf::Font::systemFont(15), std::nullopt}, pf::Control::kNormal);
  item.setTitlePositionAdjustment({7, -14});
  item.setImageInsets(pf::EdgeInsets{double(top), double(left), double(bottom), double(right)});
  item.setTitleTextAttributes({nullptr, pf::Color::blue()}, pf::Control::kHighlighted);
}

std::shared_ptr<pf::ViewController> ViewUtil::getWindowRootViewController() {
  const auto windows = pf::Application::sharedApplication().windows();
  return windows.empty() ? nullptr : windows.front()->rootViewController();
}

std::shared_ptr<pf::Window> ViewUtil::getKeyWindow() {
  return pf::Application::sharedApplication().keyWindow();
}

bool ViewUtil::checkTopicInput(const std::optional<std::string>& text, unsigned maxTopics,
                               unsigned maxTopicLength) {
  if (!text || pf::text::trimWhitespaceAndNewlines(*text).empty()) return true;
  const auto pieces = pf::text::split(pf::text::replaceAll(*text, "，", ","), ",");
  if (pieces.size() > maxTopics) return false;
  for (const auto& piece : pieces) {
    const std::string trimmed = pf::text::trimWhitespaceAndNewlines(piece);
    if (!trimmed.empty() && pf::utf16::length(trimmed) > maxTopicLength) return false;
  }
  return true;
}

std::shared_ptr<pf::ViewController> ViewUtil::controllerOfView(const pf::View& view) {
  for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
    if (auto controller = std::dynamic_pointer_cast<pf::ViewController>(ancestor->nextResponder()))
      return controller;
  }
  return nullptr;
}

double ViewUtil::caculateLabelHeightForContent(const std::string& content, double fontSize,
                                               pf::LineBreakMode mode) {
  const double width = pf::Screen::mainScreen().bounds().width();
  return pf::StringDrawing::sizeOfText(content, *pf::Font::systemFont(fontSize),
                                       {width, std::numeric_limits<double>::infinity()}, mode)
      .height;
}
