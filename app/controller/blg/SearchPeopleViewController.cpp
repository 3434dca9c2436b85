#include "app/controller/blg/SearchPeopleViewController.h"

#include "app/controller/blg/BlgUserRows.h"
#include "app/controller/blg/SearchPeopleCell.h"
#include "app/model/blg/BlogUser.h"
#include "app/service/blg/BlgUserService.h"
#include "platform/foundation/Format.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

void SearchPeopleViewController::initService() {
  blogUserService = std::make_shared<BlgUserService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgBaseTableViewController::PageFetch SearchPeopleViewController::pageFetch() const {
  return [service = blogUserService, text = searchStr](const std::shared_ptr<Page>& page) {
    return service->getBlogUsersWithNickName(text, page);
  };
}

void SearchPeopleViewController::showPage(const pf::ArrayPtr& rows, bool more) { keepRows(usersArr, rows, more); }

long SearchPeopleViewController::numberOfRowsInSection(pf::TableView&, long) {
  return usersArr ? static_cast<long>(usersArr->size()) : 0;
}

std::shared_ptr<pf::TableViewCell> SearchPeopleViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                    const pf::IndexPath& indexPath) {
  auto cell = reusableCell<SearchPeopleCell>(&tableView);
  const auto& user = *usersArr->at(indexPath.row);
  BlgUserRows::showFace(cell->userPic.lock(), user.faceUrl);
  cell->userName.lock()->setText(user.nickName.value_or(""));
  cell->fanLabel.lock()->setText(pf::format(kFansFormat, user.fansCnt));
  return cell;
}

std::optional<double> SearchPeopleViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return BlgUserRows::rowHeight();
}

// The square is told (and locks the side panel) only once a profile was pushed: a failed look-up
// leaves the square as it was.
void SearchPeopleViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (!usersArr || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= usersArr->size()) return;
  if (!BlgUserRows::openProfile(*this, *blogUserService, usersArr->at(indexPath.row)->userId, parentController)) return;
  if (auto container = baseTableViewDelegate.lock()) container->tableViewDidSelectRow(indexPath);
}
