#include "app/controller/blg/BlgSquareViewController.h"

#include <algorithm>

#include "app/controller/blg/BlgSquareViewControllerDelegate.h"
#include "app/controller/blg/SearchBlogViewController.h"
#include "app/controller/blg/SearchPeopleViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "platform/graphics/Image.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Toolbar.h"
#include "ui/extension/ColorExpanded.h"

BlgSquareViewController::BlgSquareViewController() = default;
BlgSquareViewController::BlgSquareViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
BlgSquareViewController::~BlgSquareViewController() = default;

void BlgSquareViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setShowBackBtn(false);
  setNavgationItemTitle(kTitle);
  auto self = std::dynamic_pointer_cast<BaseTableViewControllerdelegate>(shared_from_this());
  blogList_ = std::make_shared<SearchBlogViewController>();
  CmnEmbeddedChild::embed(*this, blogList_, nullptr);
  placeList(*blogList_->view());
  blogList_->baseTableViewDelegate = self;
  blogList_->parentController = parentController;
  peopleList_ = std::make_shared<SearchPeopleViewController>();
  CmnEmbeddedChild::embed(*this, peopleList_, nullptr);
  placeList(*peopleList_->view());
  peopleList_->baseTableViewDelegate = self;
  peopleList_->parentController = parentController;
  searchBlgTableViewController = blogList_;
  searchPeopleTableViewController = peopleList_;
  for (const auto& button : {leftBtn.lock(), rightBtn.lock()})
    if (button) styleSegment(*button);
  if (auto field = searchTextField.lock()) {
    field->setDelegate(std::dynamic_pointer_cast<pf::TextFieldDelegate>(shared_from_this()));
    if (pf::Device::currentDevice().userInterfaceIdiom() != pf::Device::Idiom::Pad) installKeyboardBar(*field);
  }
  setCurrentBtnIndex(0);
  blogList_->willBeginRefreshData();
  blogList_->refreshData();
}

// The lists fill the screen below the segment buttons, as far below them as the segments are below
// the field, and keep that place as the screen resizes.
void BlgSquareViewController::placeList(pf::View& list) {
  const double top = listTop();
  const pf::Rect bounds = view()->bounds();
  list.setFrame(pf::Rect(0, top, bounds.width(), std::max(0.0, bounds.height() - top)));
  list.setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
}

double BlgSquareViewController::listTop() const {
  auto segment = leftBtn.lock();
  if (!segment) return 0;
  auto field = searchTextField.lock();
  const double gap = field ? std::max(0.0, segment->frame().minY() - field->frame().maxY()) : 0;
  return segment->frame().maxY() + gap;
}

void BlgSquareViewController::styleSegment(pf::Button& button) {
  const double scale = pf::Screen::mainScreen().scale();
  button.setBackgroundImage(pf::Image::named("BLG_BPLA_tab_button_n.png", scale), pf::Control::kNormal);
  button.setBackgroundImage(pf::Image::named("BLG_BPLA_tab_button_p.png", scale), pf::Control::kHighlighted);
  button.setBackgroundImage(pf::Image::named("BLG_BPLA_tab_button_p.png", scale), pf::Control::kDisabled);
  const pf::Color chosen = ColorExpanded::colorWithRGBHex(kChosenTitleRGB);
  button.setTitleColor(chosen, pf::Control::kHighlighted);
  button.setTitleColor(chosen, pf::Control::kDisabled);
}

void BlgSquareViewController::installKeyboardBar(pf::TextField& field) {
  auto bar = std::make_shared<pf::Toolbar>(pf::Rect(0, 0, pf::Screen::mainScreen().bounds().width(), 30));
  bar->setBarStyle(pf::Toolbar::BarStyle::BlackTranslucent);
  auto space = std::make_shared<pf::BarButtonItem>(pf::BarButtonItem::SystemItem::FlexibleSpace, std::weak_ptr<void>(),
                                                   pf::BarButtonItem::Action());
  std::weak_ptr<BlgSquareViewController> weak = sharedAs<BlgSquareViewController>();
  auto done = std::make_shared<pf::BarButtonItem>(std::string(kHideKeyboardTitle), pf::BarButtonItem::Style::Done, weak,
                                                  [weak](pf::BarButtonItem&) {
                                                    if (auto self = weak.lock()) self->editDone();
                                                  });
  bar->setItems({space, done});
  field.setInputAccessoryView(bar);
}

void BlgSquareViewController::viewWillAppear(bool animated) {
  BlgBaseViewController::viewWillAppear(animated);
  if (auto delegate = blgSquareDelegate.lock()) delegate->blgSquareViewEnableAppNavigator();
}

void BlgSquareViewController::setCurrentBtnIndex(int index) {
  currentBtnIndex_ = index;
  auto left = leftBtn.lock();
  auto right = rightBtn.lock();
  if (index == 1) {
    if (left) left->setEnabled(true);
    if (right) right->setEnabled(false);
    blogList_->view()->setHidden(true);
    peopleList_->view()->setHidden(false);
    if (!peopleList_->usersArr) {
      // The first load of the people list is already the search: a second refresh would be refused.
      auto field = searchTextField.lock();
      if (field && !field->text().empty()) peopleList_->setSearchStr(field->text());
      peopleList_->willBeginRefreshData();
      peopleList_->refreshData();
      return;
    }
  } else if (index == 0) {
    if (left) left->setEnabled(false);
    if (right) right->setEnabled(true);
    blogList_->view()->setHidden(false);
    peopleList_->view()->setHidden(true);
  } else {
    return;
  }
  loadResourceWithButtonIndex();
}

void BlgSquareViewController::loadResourceWithButtonIndex() {
  auto field = searchTextField.lock();
  if (field && !field->text().empty()) searchBtnPressed();
}

void BlgSquareViewController::searchBlogBtnPressed() { setCurrentBtnIndex(0); }

void BlgSquareViewController::searchPeopleBtnPressed() { setCurrentBtnIndex(1); }

void BlgSquareViewController::searchBtnPressed() {
  auto field = searchTextField.lock();
  if (!field) return;
  field->resignFirstResponder();
  const std::optional<std::string> text =
      field->text().empty() ? std::nullopt : std::optional<std::string>(field->text());
  if (currentBtnIndex_ == 0) {
    blogList_->setSearchStr(text);
    blogList_->refreshData();
  } else if (currentBtnIndex_ == 1) {
    peopleList_->setSearchStr(text);
    peopleList_->refreshData();
  }
}

bool BlgSquareViewController::textFieldShouldReturn(pf::TextField& field) {
  field.resignFirstResponder();
  searchBtnPressed();
  return true;
}

void BlgSquareViewController::editDone() {
  if (auto field = searchTextField.lock()) {
    field->resignFirstResponder();
    field->setText(std::nullopt);
  }
  blogList_->setSearchStr(std::nullopt);
  peopleList_->setSearchStr(std::nullopt);
}

void BlgSquareViewController::tableViewDidSelectRow(const pf::IndexPath&) {
  if (auto delegate = blgSquareDelegate.lock()) delegate->blgSquareViewDisableAppNavigator();
}
