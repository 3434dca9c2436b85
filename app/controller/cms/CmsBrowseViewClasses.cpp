#include "app/controller/cms/CmsBrowseViewClasses.h"

#include "app/components/meter/ShapeMeterView.h"
#include "app/controller/cms/CmsAllCell.h"
#include "app/controller/cms/CmsAllTableViewController.h"
#include "app/controller/cms/CmsAllViewController.h"
#include "app/controller/cms/CmsBaseTableViewCell.h"
#include "app/controller/cms/CmsCategoryCell.h"
#include "app/controller/cms/CmsCategoryDataTableViewController.h"
#include "app/controller/cms/CmsCategoryDataViewController.h"
#include "app/controller/cms/CmsCategoryMenuTableViewController.h"
#include "app/controller/cms/CmsCategoryMenuViewController.h"
#include "app/controller/cms/CmsCategoryResultTableViewController.h"
#include "app/controller/cms/CmsCategoryResultViewController.h"
#include "app/controller/cms/CmsCategoryTableViewCell.h"
#include "app/controller/cms/CmsCategoryViewController.h"
#include "app/controller/cms/CmsCourseCell.h"
#include "app/controller/cms/CmsMainViewController.h"
#include "app/controller/cms/CmsMyCell.h"
#include "app/controller/cms/CmsMyTableViewController.h"
#include "app/controller/cms/CmsMyViewController.h"
#include "app/controller/cms/CmsSearchResultTableViewController.h"
#include "app/controller/cms/CmsSearchViewController.h"
#include "app/controller/cms/UIViewExt.h"
#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/SearchBar.h"

namespace {

template <typename Screen>
void registerCmsBrowseScreen() {
  ViewUtil::registerScreenClass(Screen::kClassName,
                                [](const std::string& nibName) { return std::make_shared<Screen>(nibName); });
}

void defineCmsBrowseRows() {
  pf::NibRegistry::define<CmsCourseCell>([](pf::NibClassBuilder<CmsCourseCell>& b) {
    b.outlet("courseImage", &CmsCourseCell::courseImage)
        .outlet("title", &CmsCourseCell::title)
        .outlet("categoryTitle", &CmsCourseCell::categoryTitle)
        .outlet("categoryLabel", &CmsCourseCell::categoryLabel)
        .outlet("teacherTitle", &CmsCourseCell::teacherTitle)
        .outlet("teacherLabel", &CmsCourseCell::teacherLabel)
        .outlet("periodLabel", &CmsCourseCell::periodLabel)
        .outlet("gradeLabel", &CmsCourseCell::gradeLabel)
        .outlet("learningTypeImageView", &CmsCourseCell::learningTypeImageView)
        .outlet("learningTypeLabel", &CmsCourseCell::learningTypeLabel);
  });
  pf::NibRegistry::define<CmsMyCell>([](pf::NibClassBuilder<CmsMyCell>& b) {
    b.outlet("scheduleLabel", &CmsMyCell::scheduleLabel).outlet("completeImgView", &CmsMyCell::completeImgView);
  });
  pf::NibRegistry::define<CmsAllCell>([](pf::NibClassBuilder<CmsAllCell>& b) {
    b.outlet("scoreLabel", &CmsAllCell::scoreLabel).outlet("starView", &CmsAllCell::starView);
  });
  pf::NibRegistry::define<CmsBaseTableViewCell>();
  pf::NibRegistry::define<CmsCategoryCell>([](pf::NibClassBuilder<CmsCategoryCell>& b) {
    b.outlet("titleLabel", &CmsCategoryCell::titleLabel).outlet("subCategoryNum", &CmsCategoryCell::subCategoryNum);
  });
  pf::NibRegistry::define<CmsCategoryTableViewCell>([](pf::NibClassBuilder<CmsCategoryTableViewCell>& b) {
    b.outlet("titleLabel", &CmsCategoryTableViewCell::titleLabel);
  });
  pf::NibRegistry::define<UIViewExt>();
}

void defineCmsBrowseScreens() {
  pf::NibRegistry::define<CmsMainViewController>([](pf::NibClassBuilder<CmsMainViewController>& b) {
    b.outlet("tabBarCon", &CmsMainViewController::tabBarCon);
  });
  pf::NibRegistry::define<CmsAllViewController>([](pf::NibClassBuilder<CmsAllViewController>& b) {
    b.outlet("listContainer", &CmsAllViewController::listContainer);
  });
  pf::NibRegistry::define<CmsMyViewController>([](pf::NibClassBuilder<CmsMyViewController>& b) {
    b.outlet("listContainer", &CmsMyViewController::listContainer);
  });
  pf::NibRegistry::define<CmsSearchViewController>([](pf::NibClassBuilder<CmsSearchViewController>& b) {
    b.outlet("tableView", &CmsSearchViewController::tableView)
        .outlet("searchLabel", &CmsSearchViewController::searchLabel)
        .outlet("mainSearchBar", &CmsSearchViewController::mainSearchBar)
        .outlet("resultContainer", &CmsSearchViewController::resultContainer);
  });
  pf::NibRegistry::define<CmsCategoryViewController>();
  pf::NibRegistry::define<CmsCategoryMenuViewController>([](pf::NibClassBuilder<CmsCategoryMenuViewController>& b) {
    b.outlet("listContainer", &CmsCategoryMenuViewController::listContainer);
  });
  pf::NibRegistry::define<CmsCategoryDataViewController>([](pf::NibClassBuilder<CmsCategoryDataViewController>& b) {
    b.outlet("listContainer", &CmsCategoryDataViewController::listContainer);
  });
  pf::NibRegistry::define<CmsCategoryResultViewController>(
      [](pf::NibClassBuilder<CmsCategoryResultViewController>& b) {
        b.outlet("listContainer", &CmsCategoryResultViewController::listContainer);
      });
}

}  // namespace

void registerCmsBrowseViewClasses() {
  pf::registerClass<CmsMainViewController>();
  pf::registerClass<CmsAllViewController>();
  pf::registerClass<CmsMyViewController>();
  pf::registerClass<CmsSearchViewController>();
  pf::registerClass<CmsCourseTableViewController>();
  pf::registerClass<CmsAllTableViewController>();
  pf::registerClass<CmsMyTableViewController>();
  pf::registerClass<CmsSearchResultTableViewController>();
  pf::registerClass<CmsCategoryViewController>();
  pf::registerClass<CmsCategoryMenuViewController>();
  pf::registerClass<CmsCategoryDataViewController>();
  pf::registerClass<CmsCategoryTableViewController>();
  pf::registerClass<CmsCategoryMenuTableViewController>();
  pf::registerClass<CmsCategoryDataTableViewController>();
  pf::registerClass<CmsCategoryResultViewController>();
  pf::registerClass<CmsCategoryResultTableViewController>();
  pf::registerClass<UIViewExt>();
  ShapeMeterView::registerForInterfaceFiles();
  defineCmsBrowseRows();
  defineCmsBrowseScreens();
  registerCmsBrowseScreen<CmsMainViewController>();
  registerCmsBrowseScreen<CmsAllViewController>();
  registerCmsBrowseScreen<CmsMyViewController>();
  registerCmsBrowseScreen<CmsSearchViewController>();
  registerCmsBrowseScreen<CmsCategoryViewController>();
  registerCmsBrowseScreen<CmsCategoryMenuViewController>();
  registerCmsBrowseScreen<CmsCategoryDataViewController>();
  registerCmsBrowseScreen<CmsCategoryResultViewController>();
}
