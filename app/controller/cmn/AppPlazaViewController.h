#pragma once
// The app square, a module screen: a header with the user's name, today's date and weekday, and a
// horizontally paged grid of the applications the server put in the user's square, six to a page,
// each with its icon, name and badge. An entry opens one of this client's modules as the deck's centre
// or launches another application (or offers its store page). Pulling the first page past its left
// edge opens the menu; while the grid pages, dragging does not move the deck, and while the menu is
// open the grid holds still until the menu closes. The entries are read once, when the view loads.
//
// Main thread only.

#include <memory>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "ui/deck/PanelDeckControllerDelegate.h"
#include "ui/grid/GridViewActionDelegate.h"
#include "ui/grid/GridViewDataSource.h"

namespace pf {
class ImageView;
class Label;
class PageControl;
}  // namespace pf
class CommonService;
class GridView;
class MobileApp;
class UserMobileAppService;

class AppPlazaViewController : public BaseViewController,
                               public GridViewDataSource,
                               public GridViewActionDelegate,
                               public PanelDeckControllerDelegate {
  PF_OBJECT(AppPlazaViewController, BaseViewController)

  static constexpr int kItemsPerPage = 6;
  static constexpr int kBadgeLimit = 99;
  static constexpr long kInstallButtonIndex = 0;

  AppPlazaViewController();
  explicit AppPlazaViewController(std::string nibName);
  ~AppPlazaViewController() override;

  std::shared_ptr<pf::Label> userName;
  std::shared_ptr<pf::Label> currentDate;
  std::weak_ptr<pf::ImageView> imgView;
  std::weak_ptr<pf::PageControl> pageControl;

  const std::vector<std::shared_ptr<MobileApp>>& resourceArr() const { return resourceArr_; }
  const std::shared_ptr<GridView>& gridView() const { return gridView_; }

  // Pages of six for a count of entries (0 for none).
  static long pageCount(size_t entries);
  // "99+" over 99, the count from 1, none below 1.
  static std::optional<std::string> badgeText(int reminder);

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  // Holds the grid still, lets the deck pan and opens or closes the menu.
  bool showAppNavigatorView();
  void leftTopBtnPressed();

  long numberOfItemsInGridView(GridView& grid) override;
  pf::Size sizeForItemsInInterfaceOrientation(GridView& grid, pf::Application::InterfaceOrientation orientation) override;
  std::shared_ptr<GridViewCell> cellForItemAtIndex(GridView& grid, long index) override;
  void didTapOnItemAtIndex(GridView& grid, long index) override;
  void GridViewDidScroll(GridView& grid) override;
  void didCloseViewSide(PanelDeckController& deck, DeckSide side, bool animated) override;

 private:
  pf::Size itemSize() const;
  void becomeDeckDelegate();
  void fillItem(const std::shared_ptr<pf::View>& content, const MobileApp& app) const;
  void openOtherApplication(const MobileApp& app);

  std::vector<std::shared_ptr<MobileApp>> resourceArr_;
  std::shared_ptr<GridView> gridView_;
  std::shared_ptr<UserMobileAppService> appService_;
  std::shared_ptr<CommonService> commonService_;
};
