#include "app/controller/cmn/AppPlazaViewController.h"

#include <cmath>

#include "app/controller/cmn/ModuleScreens.h"
#include "app/controller/cmn/OtherApplications.h"
#include "app/model/cmn/MobileApp.h"
#include "app/model/lgn/User.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/UserMobileAppService.h"
#include "core/util/CommonUtil.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/text/Font.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Screen.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/extension/AlertViewKivExtension.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewCell.h"
#include "ui/grid/GridViewLayoutStrategyFactory.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

constexpr long kPagedLeftToRightLayout = 2;
constexpr long kSwapStyle = 1;

double plazaWidthScale() { return pf::Screen::mainScreen().bounds().width() / 320; }
double plazaHeightScale() { return pf::Screen::mainScreen().bounds().height() / 480; }

std::shared_ptr<pf::Image> plazaPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

AppPlazaViewController::AppPlazaViewController() = default;
AppPlazaViewController::AppPlazaViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
AppPlazaViewController::~AppPlazaViewController() = default;

// Pages of six counted as reals: seven entries need a second page.
long AppPlazaViewController::pageCount(size_t entries) {
  return std::lround(static_cast<double>(entries) / kItemsPerPage + 0.49);
}

std::optional<std::string> AppPlazaViewController::badgeText(int reminder) {
  if (reminder < 1) return std::nullopt;
  return reminder > kBadgeLimit ? std::string("99+") : std::to_string(reminder);
}

void AppPlazaViewController::initService() {
  appService_ = std::make_shared<UserMobileAppService>();
  commonService_ = std::make_shared<CommonService>();
}

void AppPlazaViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  becomeDeckDelegate();
  resourceArr_ = appService_->getSquareApps();
  const auto header = imgView.lock();
  const double top = header ? header->frame().maxY() : 0;
  const double headerHeight = header ? header->frame().height() : 0;
  const pf::Rect bounds = view()->bounds();
  gridView_ = std::make_shared<GridView>(pf::Rect(0, top, bounds.width(), bounds.height() - headerHeight));
  gridView_->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  gridView_->setBackgroundColor(pf::Color::clear());
  gridView_->setStyle(kSwapStyle);
  const double spacing = std::floor(plazaHeightScale() * 20);
  gridView_->setItemSpacing(static_cast<long>(spacing));
  gridView_->setMinEdgeInsets(pf::EdgeInsets{spacing, spacing, spacing, spacing});
  gridView_->setCenterGrid(true);
  // A single page still gives under the finger, so pulling it right can open the menu.
  gridView_->setAlwaysBounceHorizontal(true);
  gridView_->setActionDelegate(std::dynamic_pointer_cast<GridViewActionDelegate>(shared_from_this()));
  gridView_->setDataSource(std::dynamic_pointer_cast<GridViewDataSource>(shared_from_this()));
  gridView_->setLayoutStrategy(GridViewLayoutStrategyFactory::strategyFromType(kPagedLeftToRightLayout));
  view()->addSubview(gridView_);
  if (auto pages = pageControl.lock()) {
    pages->setNumberOfPages(pageCount(resourceArr_.size()));
    pages->setCurrentPage(0);
    pages->setPageIndicatorTintColor(pf::Color::fromWhite(0.75));
    pages->setCurrentPageIndicatorTintColor(pf::Color::fromRgba(0x2F / 255.0, 0x6F / 255.0, 0xB7 / 255.0));
    view()->bringSubviewToFront(pages.get());
  }
  const auto user = commonService_->getCurrentUser();
  if (userName) userName->setText(user ? user->userName : std::nullopt);
  if (currentDate) currentDate->setText(CommonUtil::getCurrentDate() + " " + CommonUtil::getCurrentWeek());
}

// The square can be made before it is placed in the deck; it becomes the delegate once it is there.
void AppPlazaViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  becomeDeckDelegate();
}

void AppPlazaViewController::becomeDeckDelegate() {
  if (auto deck = panelDeckController(*this)) {
    deck->setDelegate(std::dynamic_pointer_cast<PanelDeckControllerDelegate>(shared_from_this()));
  }
}

bool AppPlazaViewController::showAppNavigatorView() {
  if (gridView_) {
    gridView_->setScrollEnabled(false);
  }
  if (auto deck = panelDeckController(*this)) {
    deck->setPanningMode(DeckPanningFullView);
    deck->toggleLeftView();
  }
  return true;
}

void AppPlazaViewController::leftTopBtnPressed() { showAppNavigatorView(); }

long AppPlazaViewController::numberOfItemsInGridView(GridView&) { return static_cast<long>(resourceArr_.size()); }

pf::Size AppPlazaViewController::itemSize() const {
  return pf::Size(plazaWidthScale() * 70, plazaHeightScale() * 100);
}

pf::Size AppPlazaViewController::sizeForItemsInInterfaceOrientation(GridView&, pf::Application::InterfaceOrientation) {
  return itemSize();
}

std::shared_ptr<GridViewCell> AppPlazaViewController::cellForItemAtIndex(GridView& grid, long index) {
  const pf::Size size = itemSize();
  auto cell = grid.dequeueReusableCell();
  if (!cell) {
    cell = std::make_shared<GridViewCell>();
    auto content = std::make_shared<pf::View>(pf::Rect(0, 0, size.width, size.height));
    content->setBackgroundColor(pf::Color::clear());
    cell->setContentView(content);
  }
  fillItem(cell->contentView(), *resourceArr_.at(index));
  return cell;
}

// A reused cell is emptied first: it shows only the views of the entry it is given now.
void AppPlazaViewController::fillItem(const std::shared_ptr<pf::View>& content, const MobileApp& app) const {
  for (const auto& old : std::vector(content->subviews())) {
    if (auto picture = std::dynamic_pointer_cast<pf::ImageView>(old)) ImageViewWebCache::cancelCurrentImageLoad(*picture);
    old->removeFromSuperview();
  }
  const double w = plazaWidthScale();
  const double h = plazaHeightScale();
  const double side = itemSize().width;
  auto icon = std::make_shared<pf::ImageView>(pf::Rect(0, 0, side, side));
  icon->setBackgroundColor(pf::Color::clear());
  if (ModuleScreens::isModule(app)) {
    icon->setImage(plazaPicture(UserMobileAppService::normalImageWithAppCode(app.appCode)));
  } else {
    const std::optional<pf::Url> url = app.appIcon ? pf::Url::parse(*app.appIcon) : std::nullopt;
    ImageViewWebCache::setImageWithURL(icon, url, plazaPicture("CMN_NAVI_default_n.png"));
  }
  content->addSubview(icon);

  auto name = std::make_shared<pf::Label>(pf::Rect(0, side + 7, side, h * 20));
  name->setText(app.appName);
  name->setFont(pf::Font::systemFont(w * 16));
  name->setTextAlignment(pf::TextAlignment::center);
  name->setBackgroundColor(pf::Color::clear());
  name->setTextColor(pf::Color::black());
  name->setHighlightedTextColor(pf::Color::fromRgba(0x08 / 255.0, 0x9D / 255.0, 0xB9 / 255.0));
  content->addSubview(name);

  const std::optional<std::string> badge = badgeText(app.reminder);
  auto badgeBackground = std::make_shared<pf::ImageView>(pf::Rect(side - w * 15, 0, w * 25, h * 25));
  badgeBackground->setImage(plazaPicture("CMN_PLAZ_notify_bg.png"));
  badgeBackground->setHidden(!badge);
  content->addSubview(badgeBackground);
  auto number = std::make_shared<pf::Label>(
      pf::Rect(badgeBackground->frame().minX(), badgeBackground->frame().minY(), badgeBackground->frame().width(), h * 21));
  number->setTextColor(pf::Color::white());
  number->setBackgroundColor(pf::Color::clear());
  number->setFont(pf::Font::systemFont(w * 13));
  number->setTextAlignment(pf::TextAlignment::center);
  number->setText(badge.value_or(""));
  number->setHidden(!badge);
  content->addSubview(number);
}

void AppPlazaViewController::didTapOnItemAtIndex(GridView&, long index) {
  if (index < 0 || static_cast<size_t>(index) >= resourceArr_.size()) return;
  const auto app = resourceArr_[index];
  if (!ModuleScreens::isModule(*app)) return openOtherApplication(*app);
  auto screen = ModuleScreens::screenWithAppCode(*appService_, app->appCode);
  if (auto deck = panelDeckController(*this); screen && deck) deck->setCenterController(screen);
}

void AppPlazaViewController::openOtherApplication(const MobileApp& app) {
  if (OtherApplications::launch(app)) return;
  const auto alert = AlertViewKivExtension::initWithMsg(OtherApplications::kNotInstalledMessage, 2, {});
  if (AlertViewKivExtension::showModal(alert) == kInstallButtonIndex) OtherApplications::openStorePage(app.iosAppId);
}

// Pulling the first page right opens the menu once; any other scroll pages the grid, not the deck.
void AppPlazaViewController::GridViewDidScroll(GridView& grid) {
  auto deck = panelDeckController(*this);
  if (grid.contentOffset().x < 0) {
    if (grid.isScrollEnabled() && deck && deck->isSideClosed(DeckSideLeft)) showAppNavigatorView();
  } else if (deck) {
    deck->setPanningMode(DeckPanningNone);
  }
  const double width = grid.bounds().width();
  if (auto pages = pageControl.lock(); pages && width > 0) {
    pages->setCurrentPage(static_cast<long>(std::max(0.0, grid.contentOffset().x) / width));
  }
}

void AppPlazaViewController::didCloseViewSide(PanelDeckController&, DeckSide, bool) {
  if (gridView_) gridView_->setScrollEnabled(true);
}
