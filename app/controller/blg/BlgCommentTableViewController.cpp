#include "app/controller/blg/BlgCommentTableViewController.h"

#include <limits>

#include "app/controller/blg/BlgCommentCell.h"
#include "app/model/blg/Comment.h"
#include "app/service/blg/BlgCommentService.h"
#include "app/util/MicroBlogUtils.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"

BlgCommentTableViewController::BlgCommentTableViewController() = default;
BlgCommentTableViewController::~BlgCommentTableViewController() = default;

void BlgCommentTableViewController::initService() {
  BlgBaseTableViewController::initService();
  blogCommentService = std::make_shared<BlgCommentService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgBaseTableViewController::PageFetch BlgCommentTableViewController::pageFetch() const {
  return [service = blogCommentService, id = blogID](const std::shared_ptr<Page>& page) {
    return service->getCommentsWithBlogID(id, page);
  };
}

void BlgCommentTableViewController::showPage(const pf::ArrayPtr& rows, bool more) { keepRows(commentsArr, rows, more); }

long BlgCommentTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return commentsArr ? static_cast<long>(commentsArr->size()) : 0;
}

void BlgCommentTableViewController::fillCell(BlgCommentCell& cell, const Comment& comment) {
  cell.userName.lock()->setText(comment.nickName.value_or(""));
  cell.contentLabel.lock()->setText(comment.content.value_or(""));
  cell.timeLabel.lock()->setText(comment.createTime ? MicroBlogUtils::caluteDateByCurrentDate(*comment.createTime) : "");
  const double width = isViewLoaded() ? view()->bounds().width() : pf::Screen::mainScreen().bounds().width();
  cell.setFrame(pf::Rect(0, 0, width, std::numeric_limits<float>::max()));
}

std::shared_ptr<pf::TableViewCell> BlgCommentTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                       const pf::IndexPath& indexPath) {
  auto cell = reusableCell<BlgCommentCell>(&tableView);
  if (commentsArr && indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < commentsArr->size())
    fillCell(*cell, *commentsArr->at(indexPath.row));
  return cell;
}

// One sizing cell per list: a height query never loads the interface file.
std::optional<double> BlgCommentTableViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                            const pf::IndexPath& indexPath) {
  if (!commentsArr || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= commentsArr->size()) return 0.0;
  if (!sizingCell_) sizingCell_ = reusableCell<BlgCommentCell>(nullptr);
  fillCell(*sizingCell_, *commentsArr->at(indexPath.row));
  return sizingCell_->frame().height();
}
