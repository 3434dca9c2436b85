#include "app/controller/cms/CmsCategoryViewController.h"

#include "app/components/stackedpanels/StackedPanelsController.h"
#include "app/controller/cms/CmsCategoryMenuTableViewController.h"
#include "app/controller/cms/CmsCategoryMenuViewController.h"
#include "app/controller/cms/UIViewExt.h"
#include "app/model/cms/Category.h"
#include "app/service/cms/CmsCategoryService.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "ui/hud/ProgressHUD.h"

CmsCategoryViewController::CmsCategoryViewController() = default;
CmsCategoryViewController::CmsCategoryViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
CmsCategoryViewController::~CmsCategoryViewController() = default;

void CmsCategoryViewController::initService() {
  categoryService = std::make_shared<CmsCategoryService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void CmsCategoryViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  loadData();
  const pf::Screen& screen = pf::Screen::mainScreen();
  const pf::Rect bounds = view()->bounds();
  container_ = std::make_shared<UIViewExt>(pf::Rect(0, 0, bounds.width(), bounds.height()));
  container_->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  container_->setBackgroundColor(pf::Color::clear());

  auto leftView = std::make_shared<pf::View>(pf::Rect(0, 0, screen.bounds().width() / 320 * kMenuWidth, bounds.height()));
  leftView->setAutoresizingMask(pf::View::kFlexibleHeight);
  menuViewController = std::dynamic_pointer_cast<CmsCategoryMenuViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsCategoryMenuViewController::kClassName));
  menuViewController->view()->setFrame(leftView->frame());
  menuViewController->parentController = sharedAs<pf::ViewController>();
  menuViewController->beginAppearanceTransition(true, false);
  menuViewController->endAppearanceTransition();
  leftView->addSubview(menuViewController->view());

  const double statusBar = screen.bounds().height() - screen.applicationFrame().height();
  const double leftWidth = leftView->frame().width();
  auto rightView = std::make_shared<pf::View>(pf::Rect(leftWidth, 0, container_->frame().width() - leftWidth,
                                                       screen.bounds().height() - kTabBarHeight -
                                                           kNavigationBarHeight - statusBar));
  stackedPanelsController = std::make_shared<StackedPanelsController>()->init();
  stackedPanelsController->view()->setFrame(pf::Rect(0, 0, rightView->frame().width(), rightView->frame().height()));
  stackedPanelsController->view()->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  stackedPanelsController->beginAppearanceTransition(true, false);
  stackedPanelsController->endAppearanceTransition();
  rightView->addSubview(stackedPanelsController->view());

  container_->addSubview(leftView);
  container_->addSubview(rightView);
  view()->addSubview(container_);
}

void CmsCategoryViewController::loadData() {
  auto navigation = navigationController();
  auto host = navigation ? navigation->view() : view();
  auto hud = ProgressHUD::initWithView(host);
  host->addSubview(hud);
  hud->setLabelText(std::string(kLoading));
  auto service = categoryService;
  auto root = std::make_shared<std::shared_ptr<Category>>();
  std::weak_ptr<CmsCategoryViewController> weak = sharedAs<CmsCategoryViewController>();
  hud->showAnimated(
      true, [service, root] { *root = service->getCourseCategory(); },
      [weak, hud, root] {
        if (auto self = weak.lock()) self->showTree(*root);
        hud->removeFromSuperview();
      });
}

void CmsCategoryViewController::showTree(const std::shared_ptr<Category>& root) {
  if (!root || !menuViewController) return;
  category = root;
  auto menu = menuViewController->categoryMenuTableViewController.lock();
  if (!menu) return;
  menu->stackViewController = stackedPanelsController;
  menu->categoryArr = root->childCategories;
  menu->tableView()->reloadData();
  if (menu->categoryArr.empty()) return;
  const auto first = pf::IndexPath::forRow(0, 0);
  menu->tableView()->selectRowAtIndexPath(first, true, pf::TableView::ScrollPosition::None);
  menu->didSelectRowAtIndexPath(*menu->tableView(), first);
}
