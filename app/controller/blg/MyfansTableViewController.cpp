#include "app/controller/blg/MyfansTableViewController.h"

#include "app/service/blg/BlgUserService.h"

std::shared_ptr<Page> MyfansTableViewController::fetchUsers(const std::shared_ptr<BlgUserService>& service,
                                                            const std::optional<std::string>& userId,
                                                            const std::shared_ptr<Page>& page) {
  return service->getFansWithUserID(userId, page);
}
