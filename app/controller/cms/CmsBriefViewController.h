#pragma once
// The course detail's brief tab: the course information row and the course's description (objectives,
// outline, audience, lecturer, meaning) as formatted text, fetched again at every hand-over of the
// course. Its right button selects or removes the course.
//
// Main thread only; the description is read on a global queue and applied on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cms/CmsDetailBaseViewController.h"

class CmsBriefViewController : public CmsDetailBaseViewController {
  PF_OBJECT(CmsBriefViewController, CmsDetailBaseViewController)

  CmsBriefViewController();
  ~CmsBriefViewController() override;

  // The description as markup, or nullopt when the course has none.
  std::optional<std::string> brief;
  // Description reads started and not yet applied.
  int pendingBriefReads() const { return pendingReads_; }

  void setCourseViewInfo(std::shared_ptr<CourseViewInfo> info) override;
  // The description row's height for a description (nullopt: none).
  double briefRowHeight(const std::optional<std::string>& description);

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  int pendingReads_ = 0;
};
