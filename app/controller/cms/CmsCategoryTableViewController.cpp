#include "app/controller/cms/CmsCategoryTableViewController.h"

#include "app/controller/cms/CmsCategoryCell.h"
#include "app/controller/cms/CmsCategoryTableViewCell.h"
#include "app/model/cms/Category.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

void cmsCategoryGiveSelectedPicture(pf::TableViewCell& cell) {
  auto background = std::make_shared<pf::View>(cell.frame());
  auto picture = std::make_shared<pf::ImageView>(pf::Rect(0, 0, cell.frame().width(), cell.frame().height()));
  picture->setImage(pf::Image::named(CmsCategoryTableViewController::kCellBackground, pf::Screen::mainScreen().scale()));
  picture->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  background->addSubview(picture);
  cell.setSelectedBackgroundView(background);
}

}  // namespace

void CmsCategoryTableViewController::viewWillAppear(bool animated) {
  BaseTableViewController::viewWillAppear(animated);
  if (!parentCategory) return;
  categoryArr = parentCategory->childCategories;
  tableView()->reloadData();
}

long CmsCategoryTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(categoryArr.size());
}

std::shared_ptr<Category> CmsCategoryTableViewController::categoryAt(long index) const {
  if (index < 0 || static_cast<size_t>(index) >= categoryArr.size()) return nullptr;
  return categoryArr[index];
}

std::shared_ptr<pf::TableViewCell> CmsCategoryTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                        const pf::IndexPath& indexPath) {
  auto category = categoryAt(indexPath.row);
  if (!category) return std::make_shared<pf::TableViewCell>();
  return categoryCell(tableView, *category, false);
}

std::shared_ptr<pf::TableViewCell> CmsCategoryTableViewController::categoryCell(pf::TableView& tableView,
                                                                               const Category& category,
                                                                               bool selectedPicture) {
  if (category.childCategories.empty())
    return plainCell(tableView, CmsCategoryTableViewCell::kReuseIdentifier, category.categoryName.value_or(""),
                     selectedPicture);
  auto cell = std::dynamic_pointer_cast<CmsCategoryCell>(
      tableView.dequeueReusableCellWithIdentifier(CmsCategoryCell::kReuseIdentifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<CmsCategoryCell>(ViewUtil::viewFromNibOfClass(CmsCategoryCell::kClassName));
    if (!cell) return std::make_shared<pf::TableViewCell>();
    cell->setReuseIdentifier(std::string(CmsCategoryCell::kReuseIdentifier));
    if (selectedPicture) cmsCategoryGiveSelectedPicture(*cell);
  }
  if (auto title = cell->titleLabel.lock()) title->setText(category.categoryName.value_or(""));
  if (auto count = cell->subCategoryNum.lock())
    count->setText(pf::format("%i", static_cast<int>(category.childCategories.size())));
  return cell;
}

std::shared_ptr<pf::TableViewCell> CmsCategoryTableViewController::plainCell(pf::TableView& tableView,
                                                                            const std::string& identifier,
                                                                            const std::string& name,
                                                                            bool selectedPicture) {
  auto cell = std::dynamic_pointer_cast<CmsCategoryTableViewCell>(tableView.dequeueReusableCellWithIdentifier(identifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<CmsCategoryTableViewCell>(
        ViewUtil::viewFromNibOfClass(CmsCategoryTableViewCell::kClassName));
    if (!cell) return std::make_shared<pf::TableViewCell>();
    cell->setReuseIdentifier(identifier);
    if (selectedPicture) cmsCategoryGiveSelectedPicture(*cell);
  }
  if (auto title = cell->titleLabel.lock()) title->setText(name);
  return cell;
}

std::optional<double> CmsCategoryTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  if (pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad)
    return pf::Screen::mainScreen().bounds().height() / 480 * kRowHeight;
  return kRowHeight;
}

void CmsCategoryTableViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {}
