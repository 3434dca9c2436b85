#include "app/controller/blg/MyfansTableViewController.h"

#include "app/service/blg/BlgUserService.h"

BlgBaseTableViewController::PageFetch MyfansTableViewController::pageFetch() const {
  return [service = userService, id = userID](const std::shared_ptr<Page>& page) {
    return service->getFansWithUserID(id, page);
  };
}
