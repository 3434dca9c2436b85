#include "app/controller/blg/SearchPeopleViewController.h"

#include "app/controller/blg/BlgPageLoader.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/controller/blg/BlgUserRows.h"
#include "app/controller/blg/SearchPeopleCell.h"
#include "app/model/blg/BlogUser.h"
#include "app/model/blg/Statistics.h"
#include "app/service/blg/BlgUserService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"

SearchPeopleViewController::SearchPeopleViewController() : pageLoader(std::make_shared<BlgPageLoader>()) {}
SearchPeopleViewController::~SearchPeopleViewController() = default;

bool SearchPeopleViewController::canLoadMore() const { return pageLoader->hasNextPage(); }

void SearchPeopleViewController::initService() {
  blogUserService = std::make_shared<BlgUserService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void SearchPeopleViewController::refreshDataOnline() {
  std::weak_ptr<SearchPeopleViewController> weak = sharedAs<SearchPeopleViewController>();
  pageLoader->refresh(
      [service = blogUserService, text = searchStr](const std::shared_ptr<Page>& page) {
        return service->getBlogUsersWithNickName(text, page);
      },
      [weak](const pf::ArrayPtr& rows) {
        if (auto self = weak.lock()) {
          self->usersArr = BlgUserRows::usersOf(rows);
          self->tableView()->reloadData();
        }
      },
      [weak] {
        if (auto self = weak.lock()) self->refreshDataComplete();
      });
}

bool SearchPeopleViewController::loadMore() {
  if (!BlgBaseTableViewController::loadMore()) return false;
  std::weak_ptr<SearchPeopleViewController> weak = sharedAs<SearchPeopleViewController>();
  pageLoader->loadMore(
      [service = blogUserService, text = searchStr](const std::shared_ptr<Page>& page) {
        return service->getBlogUsersWithNickName(text, page);
      },
      [weak](const pf::ArrayPtr& rows) {
        auto self = weak.lock();
        if (!self) return;
        if (!self->usersArr) self->usersArr.emplace();
        for (auto& user : BlgUserRows::usersOf(rows)) self->usersArr->push_back(user);
        self->tableView()->reloadData();
      },
      [weak] {
        if (auto self = weak.lock()) self->loadMoreCompleted();
      });
  return true;
}

long SearchPeopleViewController::numberOfRowsInSection(pf::TableView&, long) {
  return usersArr ? static_cast<long>(usersArr->size()) : 0;
}

std::shared_ptr<pf::TableViewCell> SearchPeopleViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                    const pf::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<SearchPeopleCell>(
      tableView.dequeueReusableCellWithIdentifier(SearchPeopleCell::kReuseIdentifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<SearchPeopleCell>(ViewUtil::viewFromNibOfClass(SearchPeopleCell::kClassName));
    cell->setReuseIdentifier(SearchPeopleCell::kReuseIdentifier);
  }
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
  auto statistics = blogUserService->getUserDetailWithUserID(usersArr->at(indexPath.row)->userId);
  auto navigation = navigationController();
  if (!statistics || !navigation) return;
  auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgUserInfoViewController::kClassName));
  profile->needBack = true;
  profile->userStatistics = statistics;
  profile->parentController = parentController;
  profile->setHidesBottomBarWhenPushed(true);
  navigation->pushViewController(profile, true);
  if (auto container = baseTableViewDelegate.lock()) container->tableViewDidSelectRow(indexPath);
}
