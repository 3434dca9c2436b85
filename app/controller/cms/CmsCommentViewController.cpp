#include "app/controller/cms/CmsCommentViewController.h"

#include "app/controller/cmn/CmnWaitPromptView.h"
#include "app/controller/cms/CmsCommentCell.h"
#include "app/controller/cms/CmsDetailNoCommentCell.h"
#include "app/model/cmn/Page.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/Discuss.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/OpenDiscussService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"

CmsCommentViewController::CmsCommentViewController() = default;
CmsCommentViewController::~CmsCommentViewController() = default;

void CmsCommentViewController::viewDidLoad() {
  CmsDetailBaseViewController::viewDidLoad();
  currentUser = commonServer->getCurrentUser();
  currentPage = std::make_shared<Page>();
  currentPage->pageNo = 1;
  currentPage->autoCount = true;
  discussServer = std::make_shared<OpenDiscussService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void CmsCommentViewController::setCourseViewInfo(std::shared_ptr<CourseViewInfo> info) {
  CmsDetailBaseViewController::setCourseViewInfo(std::move(info));
  if (!isViewLoaded()) return;
  if (courseViewInfo() && courseViewInfo()->openDsc && tableView()->visibleCells().empty()) waitView->show();
  refreshData();
}

bool CmsCommentViewController::canLoadMore() const { return currentPage && currentPage->hasNextPage(); }

bool CmsCommentViewController::refreshData() {
  if (!courseViewInfo() || !courseViewInfo()->openDsc || !discussServer) return false;
  loadType = 0;
  ++generation_;
  if (isLoadingMore()) loadMoreCompleted();
  fetchPage(1, false);
  return true;
}

bool CmsCommentViewController::loadMore() {
  if (!canLoadMore() || !courseViewInfo() || !courseViewInfo()->openDsc) return false;
  if (!BaseTableViewController::loadMore()) return false;
  loadType = 1;
  fetchPage(currentPage->pageNo + 1, true);
  return true;
}

// Each call works on its own page; currentPage takes the answer's number and total only on success.
void CmsCommentViewController::fetchPage(std::uint32_t pageNo, bool append) {
  auto page = std::make_shared<Page>();
  page->pageNo = pageNo;
  page->pageSize = currentPage->pageSize;
  page->autoCount = true;
  std::weak_ptr<CmsCommentViewController> weak = std::static_pointer_cast<CmsCommentViewController>(shared_from_this());
  pf::DispatchQueue::global()->async([weak, service = discussServer, page, courseId = courseViewInfo()->id,
                                      generation = generation_, append] {
    auto answer = service->loadDiscuss(page, courseId);
    pf::DispatchQueue::main()->async([weak, answer, pageNo = page->pageNo, generation, append] {
      auto self = weak.lock();
      if (!self || generation != self->generation_) return;
      std::vector<std::shared_ptr<Discuss>> rows;
      if (answer && answer->rows)
        for (const auto& row : *answer->rows)
          if (auto discuss = row.objectAs<Discuss>()) rows.push_back(discuss);
      if (append) {
        if (answer) {
          self->comments.insert(self->comments.end(), rows.begin(), rows.end());
          self->currentPage->pageNo = pageNo;
          self->currentPage->total = answer->total;
        }
        self->tableView()->reloadData();
        self->loadMoreCompleted();
        return;
      }
      self->comments = std::move(rows);
      self->currentPage->pageNo = 1;
      self->currentPage->total = answer ? answer->total : 0;
      self->waitView->hide();
      self->tableView()->reloadData();
      self->tableView()->setScrollEnabled(!self->comments.empty());
      self->refreshDataComplete();
    });
  });
}

void CmsCommentViewController::rightBtnPressed() {
  auto editor = std::dynamic_pointer_cast<CmsCommentReplyViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsCommentReplyViewController::kClassName));
  auto shell = tabBarController();
  auto navigation = shell ? shell->navigationController() : navigationController();
  if (!editor || !navigation) return;
  editor->viewType = CmsCommentReplyViewController::kViewTypeComment;
  editor->courseViewInfo = courseViewInfo();
  editor->commentDelegate = std::static_pointer_cast<CmsCommentViewController>(shared_from_this());
  navigation->pushViewController(editor, false);
}

void CmsCommentViewController::afterDistributeCommtent(const std::shared_ptr<Discuss>&) { refreshData(); }

void CmsCommentViewController::afterReplying() { tableView()->reloadData(); }

long CmsCommentViewController::numberOfRowsInSection(pf::TableView&, long) {
  if (!comments.empty()) return static_cast<long>(comments.size());
  return waitView && !waitView->isHidden() ? 0 : 1;
}

std::shared_ptr<pf::TableViewCell> CmsCommentViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                  const pf::IndexPath& indexPath) {
  if (comments.empty()) return ViewUtil::tableViewCellWithClass(CmsDetailNoCommentCell::kClassName, tableView);
  auto cell =
      std::dynamic_pointer_cast<CmsCommentCell>(ViewUtil::tableViewCellWithClass(CmsCommentCell::kClassName, tableView));
  if (cell) cell->fillWithDiscuss(*comments.at(static_cast<size_t>(indexPath.row)), true);
  return cell;
}

std::optional<double> CmsCommentViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (comments.empty()) return 460 * pf::Screen::mainScreen().bounds().height() / 480;
  return CmsCommentCell::rowHeightForContent(comments.at(static_cast<size_t>(indexPath.row))->content);
}

void CmsCommentViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= comments.size()) return;
  auto shell = tabBarController();
  auto navigation = shell ? shell->navigationController() : navigationController();
  if (!navigation) return;
  auto detail = std::make_shared<CmsCommentDetailViewController>();
  detail->setTitle(std::string(CmsCommentDetailViewController::kTitle));
  detail->setComment(comments[static_cast<size_t>(indexPath.row)]);
  detail->setCourseViewInfo(courseViewInfo());
  detail->detailDelegate = std::static_pointer_cast<CmsCommentViewController>(shared_from_this());
  navigation->pushViewController(detail, true);
}
