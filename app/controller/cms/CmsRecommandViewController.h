#pragma once
// Featured courses ("精品推荐"): a horizontally paged carousel, one page per promoted course, whose
// button opens the course detail. Nothing in the app opens it; code may push it.
//
// Main thread only; the server calls run in the overlay's background block.

#include <memory>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cms/CmsRecommandView.h"
#include "platform/ui/ScrollView.h"

namespace pf {
class PageControl;
}  // namespace pf
class CourseService;
class NodataBgView;
class PopularizeResource;

class CmsRecommandViewController : public BaseViewController,
                                   public RecommandViewDelegate,
                                   public pf::ScrollViewDelegate {
  PF_OBJECT(CmsRecommandViewController, BaseViewController)

  static constexpr char kTitle[] = "精品推荐";
  static constexpr char kLoading[] = "加载中...";
  static constexpr char kPromotionsPath[] = "/v1/lcms/courseinfo/loadPopularizeCourse";

  CmsRecommandViewController();
  explicit CmsRecommandViewController(std::string nibName);
  ~CmsRecommandViewController() override;

  std::weak_ptr<pf::ScrollView> scrollView;
  std::weak_ptr<pf::PageControl> pageControl;
  std::vector<std::shared_ptr<PopularizeResource>> resourceArr;
  std::shared_ptr<CourseService> courseService;
  std::shared_ptr<NodataBgView> nodataBgView;

  void initService() override;
  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void refreshData();
  void leftBtnPressed() override;
  void pressedBtnWithTag(long tag) override;
  void scrollViewDidScroll(pf::ScrollView& scrollView) override;
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;

 private:
  void showPages();
};
