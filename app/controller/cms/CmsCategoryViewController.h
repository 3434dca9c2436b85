#pragma once
// The categories screen: the whole category tree loaded once per visit, the top-level categories in
// a fixed left column and their sub-categories in sliding panels at the right. The first top-level
// category opens without a tap.
//
// Main thread only; the tree is loaded in the background block of a progress overlay.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"

class Category;
class CmsCategoryMenuViewController;
class CmsCategoryService;
class StackedPanelsController;
class UIViewExt;

class CmsCategoryViewController : public BaseViewController {
  PF_OBJECT(CmsCategoryViewController, BaseViewController)

  static constexpr char kTitle[] = "课程分类";
  static constexpr char kLoading[] = "加载中...";
  // Width of the left column on a screen 320 points wide.
  static constexpr double kMenuWidth = 130;
  static constexpr double kTabBarHeight = 49;
  static constexpr double kNavigationBarHeight = 44;

  CmsCategoryViewController();
  explicit CmsCategoryViewController(std::string nibName);
  ~CmsCategoryViewController() override;

  std::shared_ptr<CmsCategoryMenuViewController> menuViewController;
  std::shared_ptr<CmsCategoryService> categoryService;
  std::shared_ptr<Category> category;
  std::shared_ptr<StackedPanelsController> stackedPanelsController;

  void initService() override;
  void viewDidLoad() override;
  void loadData();
  // The container the layout made.
  const std::shared_ptr<UIViewExt>& container() const { return container_; }

 private:
  void showTree(const std::shared_ptr<Category>& root);

  std::shared_ptr<UIViewExt> container_;
};
