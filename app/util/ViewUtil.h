#pragma once
// The one way screens, views and table cells are made from interface files, and small helpers many
// screens share. The interface file of a class is its name, with "_ipad" on a tablet; a customer
// edition replaces it with a file "Orv_<name>.nib" lying directly in the bundle folder (screens and
// views made by class only: files loaded by name and cells always take the standard name).
//
// Screen classes are registered explicitly at start-up with a factory that makes a screen from its
// interface-file name; an unknown name is a build fault (ContractViolation naming it).
//
// Threads: register at start-up; everything else on the main thread.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/text/ParagraphStyle.h"

namespace pf {
class Image;
class TabBarItem;
class TableView;
class TableViewCell;
class TableViewDataSource;
class TableViewDelegate;
class View;
class ViewController;
class Window;
}  // namespace pf

class CmnNaviBtnItem;

class ViewUtil {
 public:
  // Makes a new screen loaded from the named interface file.
  using ScreenFactory = std::function<pf::ObjectPtr(const std::string& nibName)>;
  // Makes a new navigation container whose root is the given screen.
  using NavigationFactory = std::function<pf::ObjectPtr(const pf::ObjectPtr& rootViewController)>;

  static constexpr char kTabletSuffix[] = "_ipad";
  static constexpr char kEditionPrefix[] = "Orv_";

  // Replaces an earlier factory of the same name.
  static void registerScreenClass(const std::string& className, ScreenFactory factory);
  static bool isScreenClassRegistered(const std::string& className);
  // The navigation container modules that need one are wrapped in; replaces an earlier one.
  static void registerNavigationController(NavigationFactory factory);
  // Forgets every registration (tests).
  static void resetScreenClasses();

  // The interface file of a screen or view class, by idiom and edition.
  static std::string nibNameOfClass(const std::string& className);
  // A new screen of that class, made from the interface file nibNameOfClass chooses.
  static pf::ObjectPtr viewControllerFromNibOfClass(const std::string& className);
  // A new screen of that class made from the named interface file as it is (no idiom or edition variant).
  static pf::ObjectPtr viewControllerOfClass(const std::string& className, const std::string& nibName);
  // A new navigation container around the screen; a build fault when none is registered.
  static pf::ObjectPtr navigationControllerWithRoot(const pf::ObjectPtr& rootViewController);

  // The first top-level object of the class's interface file (nibNameOfClass), as a view.
  static std::shared_ptr<pf::View> viewFromNib(const std::string& className, const pf::ObjectPtr& owner);
  static std::shared_ptr<pf::View> viewFromNibOfClass(const std::string& className);
  // The first top-level object of the named file ("_ipad" on a tablet, never the edition's).
  static std::shared_ptr<pf::View> viewFromNibWithNibName(const std::string& nibName,
                                                         const pf::ObjectPtr& owner = nullptr);
  // A cell of the class for the table, reused under the class name; its interface file is registered
  // with the table on the first miss.
  static std::shared_ptr<pf::TableViewCell> tableViewCellWithClass(const std::string& className,
                                                                   pf::TableView& tableView);

  // Delegate and data source, single-line separators, a clear background over the common backdrop.
  template <typename D>
  static void configForTableView(pf::TableView& tableView, const std::shared_ptr<D>& delegate) {
    configForTableView(tableView, std::weak_ptr<pf::TableViewDelegate>(delegate),
                       std::weak_ptr<pf::TableViewDataSource>(delegate));
  }
  static void configForTableView(pf::TableView& tableView, std::weak_ptr<pf::TableViewDelegate> delegate,
                                 std::weak_ptr<pf::TableViewDataSource> dataSource);

  // The navigation item "返回" over "CMN_NAVI_back_n.png", 55 points long, calling the target's goback.
  template <typename T>
  static std::shared_ptr<CmnNaviBtnItem> backBtnItemWithTarget(const std::shared_ptr<T>& target) {
    return backBtnItemWithTarget(target, [weak = std::weak_ptr<T>(target)] {
      if (auto strong = weak.lock()) strong->goback();
    });
  }
  static std::shared_ptr<CmnNaviBtnItem> backBtnItemWithTarget(std::weak_ptr<void> target,
                                                               std::function<void()> goback);

  // When asked, gives a text field or text view a toolbar of the screen's width and 30 points with one
  // done-style "隐藏键盘" item that calls hideKeyBoard; other views and NO change nothing.
  static void keyBoardShouldShowHiddenButtonOfTextField(const std::shared_ptr<pf::View>& field,
                                                        bool shouldShow, std::weak_ptr<void> target,
                                                        std::function<void()> hideKeyBoard);

  static void configTabBarItemSelectionImage(std::shared_ptr<const pf::Image> image, int top, int left,
                                             int bottom, int right, pf::TabBarItem& item);

  // The root controller of the application's first window; null without one.
  static std::shared_ptr<pf::ViewController> getWindowRootViewController();
  static std::shared_ptr<pf::Window> getKeyWindow();

  // Whether a typed list of topics (separated by "," or "，") has at most maxTopics pieces, empty
  // ones included, and none longer than maxTopicLength UTF-16 units once trimmed. Nil or blank: yes.
  static bool checkTopicInput(const std::optional<std::string>& text, unsigned maxTopics,
                              unsigned maxTopicLength);

  // The controller of the nearest ancestor (from the superview up) that a controller manages.
  static std::shared_ptr<pf::ViewController> controllerOfView(const pf::View& view);
  // The height the text needs in the system font of that size at the screen's width.
  static double caculateLabelHeightForContent(const std::string& content, double fontSize,
                                              pf::LineBreakMode mode);
};
