#include "app/controller/blg/MyAttentionTableViewController.h"

#include "app/controller/blg/BlgUserRows.h"
#include "app/controller/blg/MyAttentionCell.h"
#include "app/model/blg/BlogUser.h"
#include "app/service/blg/BlgUserService.h"
#include "app/service/cmn/CommonService.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

void MyAttentionTableViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  userService = std::make_shared<BlgUserService>(self);
  commonService = std::make_shared<CommonService>(self);
}

BlgBaseTableViewController::PageFetch MyAttentionTableViewController::pageFetch() const {
  return [service = userService, id = userID](const std::shared_ptr<Page>& page) {
    return service->getAttentionUsersWithUserID(id, page);
  };
}

void MyAttentionTableViewController::showPage(const pf::ArrayPtr& rows, bool more) { keepRows(resourceArr, rows, more); }

long MyAttentionTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return resourceArr ? static_cast<long>(resourceArr->size()) : 0;
}

std::shared_ptr<pf::TableViewCell> MyAttentionTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                        const pf::IndexPath& indexPath) {
  auto cell = reusableCell<MyAttentionCell>(&tableView);
  cell->attentionDelegate = std::dynamic_pointer_cast<BlgAttentionCellDelegate>(shared_from_this());
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
  BlgUserRows::openProfile(*this, *userService, resourceArr->at(indexPath.row)->userId, parentController);
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
