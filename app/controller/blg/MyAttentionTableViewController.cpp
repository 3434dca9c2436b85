#include "app/controller/blg/MyAttentionTableViewController.h"

#include "app/controller/blg/BlgPageLoader.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/controller/blg/BlgUserRows.h"
#include "app/controller/blg/MyAttentionCell.h"
#include "app/model/blg/BlogUser.h"
#include "app/model/blg/Statistics.h"
#include "app/service/blg/BlgUserService.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"

MyAttentionTableViewController::MyAttentionTableViewController() : pageLoader(std::make_shared<BlgPageLoader>()) {}
MyAttentionTableViewController::~MyAttentionTableViewController() = default;

bool MyAttentionTableViewController::canLoadMore() const { return pageLoader->hasNextPage(); }

void MyAttentionTableViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  userService = std::make_shared<BlgUserService>(self);
  commonService = std::make_shared<CommonService>(self);
}

std::shared_ptr<Page> MyAttentionTableViewController::fetchUsers(const std::shared_ptr<BlgUserService>& service,
                                                                 const std::optional<std::string>& userId,
                                                                 const std::shared_ptr<Page>& page) {
  return service->getAttentionUsersWithUserID(userId, page);
}

void MyAttentionTableViewController::refreshDataOnline() {
  std::weak_ptr<MyAttentionTableViewController> weak = sharedAs<MyAttentionTableViewController>();
  auto self = sharedAs<MyAttentionTableViewController>();
  pageLoader->refresh(
      [self, service = userService, id = userID](const std::shared_ptr<Page>& page) {
        return self->fetchUsers(service, id, page);
      },
      [weak](const pf::ArrayPtr& rows) {
        if (auto list = weak.lock()) {
          list->resourceArr = BlgUserRows::usersOf(rows);
          list->tableView()->reloadData();
        }
      },
      [weak] {
        if (auto list = weak.lock()) list->refreshDataComplete();
      });
}

bool MyAttentionTableViewController::loadMore() {
  if (!BlgBaseTableViewController::loadMore()) return false;
  std::weak_ptr<MyAttentionTableViewController> weak = sharedAs<MyAttentionTableViewController>();
  auto self = sharedAs<MyAttentionTableViewController>();
  pageLoader->loadMore(
      [self, service = userService, id = userID](const std::shared_ptr<Page>& page) {
        return self->fetchUsers(service, id, page);
      },
      [weak](const pf::ArrayPtr& rows) {
        auto list = weak.lock();
        if (!list) return;
        if (!list->resourceArr) list->resourceArr.emplace();
        for (auto& user : BlgUserRows::usersOf(rows)) list->resourceArr->push_back(user);
        list->tableView()->reloadData();
      },
      [weak] {
        if (auto list = weak.lock()) list->loadMoreCompleted();
      });
  return true;
}

long MyAttentionTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return resourceArr ? static_cast<long>(resourceArr->size()) : 0;
}

std::shared_ptr<pf::TableViewCell> MyAttentionTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                        const pf::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<MyAttentionCell>(
      tableView.dequeueReusableCellWithIdentifier(MyAttentionCell::kReuseIdentifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<MyAttentionCell>(ViewUtil::viewFromNibOfClass(MyAttentionCell::kClassName));
    cell->setReuseIdentifier(MyAttentionCell::kReuseIdentifier);
    cell->attentionDelegate = std::dynamic_pointer_cast<BlgAttentionCellDelegate>(shared_from_this());
  }
  const auto& user = *resourceArr->at(indexPath.row);
  cell->userName.lock()->setText(user.nickName.value_or(""));
  BlgUserRows::showFace(cell->userPic.lock(), user.faceUrl);
  const bool own = user.userId && user.userId == commonService->getCurrentUserId();
  auto button = cell->attentionBtn.lock();
  button->setHidden(own);
  if (!own) cell->updateAttentionBtnState(user.concerned);
  return cell;
}

std::optional<double> MyAttentionTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return BlgUserRows::rowHeight();
}

void MyAttentionTableViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (!resourceArr || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= resourceArr->size()) return;
  auto statistics = userService->getUserDetailWithUserID(resourceArr->at(indexPath.row)->userId);
  auto navigation = navigationController();
  if (!statistics || !navigation) return;
  auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgUserInfoViewController::kClassName));
  profile->needBack = true;
  profile->userStatistics = statistics;
  profile->parentController = parentController;
  navigation->pushViewController(profile, true);
}

void MyAttentionTableViewController::attentionBtnPressedWithCell(MyAttentionCell& cell) {
  auto indexPath = tableView()->indexPathForCell(&cell);
  if (!indexPath || !resourceArr || indexPath->row < 0 || static_cast<size_t>(indexPath->row) >= resourceArr->size())
    return;
  auto user = resourceArr->at(indexPath->row);
  const bool done = user->concerned ? userService->cancelFollowWithID(user->userId)
                                    : userService->followUserWithID(user->userId);
  if (!done) return;
  user->concerned = !user->concerned;
  cell.updateAttentionBtnState(user->concerned);
}
