#include "app/controller/blg/BlgCommentTableViewController.h"

#include <limits>

#include "app/controller/blg/BlgCommentCell.h"
#include "app/controller/blg/BlgPageLoader.h"
#include "app/model/blg/Comment.h"
#include "app/model/cmn/Page.h"
#include "app/service/blg/BlgCommentService.h"
#include "app/util/MicroBlogUtils.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"

BlgCommentTableViewController::BlgCommentTableViewController() : pageLoader_(std::make_shared<BlgPageLoader>()) {}
BlgCommentTableViewController::~BlgCommentTableViewController() = default;

std::shared_ptr<Page> BlgCommentTableViewController::currentPage() const { return pageLoader_->currentPage(); }

bool BlgCommentTableViewController::canLoadMore() const { return pageLoader_->hasNextPage(); }

void BlgCommentTableViewController::initService() {
  BlgBaseTableViewController::initService();
  blogCommentService = std::make_shared<BlgCommentService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void BlgCommentTableViewController::refreshDataOnline() { load(false); }

bool BlgCommentTableViewController::loadMore() {
  if (!BlgBaseTableViewController::loadMore()) return false;
  load(true);
  return true;
}

// Each call pages on its own copy, so a failed load-more asks for the same page again next time.
void BlgCommentTableViewController::load(bool more) {
  std::weak_ptr<BlgCommentTableViewController> weak = sharedAs<BlgCommentTableViewController>();
  auto fetch = [service = blogCommentService, id = blogID](const std::shared_ptr<Page>& page) {
    return service->getCommentsWithBlogID(id, page);
  };
  auto apply = [weak, more](const pf::ArrayPtr& rows) {
    auto self = weak.lock();
    if (!self) return;
    if (!more || !self->commentsArr) self->commentsArr.emplace();
    for (const auto& value : *rows)
      if (auto comment = value.objectAs<Comment>()) self->commentsArr->push_back(comment);
    self->tableView()->reloadData();
  };
  if (more) {
    pageLoader_->loadMore(fetch, apply, [weak] {
      if (auto self = weak.lock()) self->loadMoreCompleted();
    });
  } else {
    pageLoader_->refresh(fetch, apply, [weak] {
      if (auto self = weak.lock()) self->refreshDataComplete();
    });
  }
}

long BlgCommentTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return commentsArr ? static_cast<long>(commentsArr->size()) : 0;
}

std::shared_ptr<BlgCommentCell> BlgCommentTableViewController::makeCell(pf::TableView* tableView) {
  std::shared_ptr<BlgCommentCell> cell;
  if (tableView)
    cell = std::dynamic_pointer_cast<BlgCommentCell>(
        tableView->dequeueReusableCellWithIdentifier(BlgCommentCell::kReuseIdentifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<BlgCommentCell>(ViewUtil::viewFromNibOfClass(BlgCommentCell::kClassName));
    cell->setReuseIdentifier(BlgCommentCell::kReuseIdentifier);
  }
  return cell;
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
  auto cell = makeCell(&tableView);
  if (commentsArr && indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < commentsArr->size())
    fillCell(*cell, *commentsArr->at(indexPath.row));
  return cell;
}

// One sizing cell per list: a height query never loads the interface file.
std::optional<double> BlgCommentTableViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                            const pf::IndexPath& indexPath) {
  if (!commentsArr || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= commentsArr->size()) return 0.0;
  if (!sizingCell_) sizingCell_ = makeCell(nullptr);
  fillCell(*sizingCell_, *commentsArr->at(indexPath.row));
  return sizingCell_->frame().height();
}
