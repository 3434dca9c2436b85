#pragma once
// What the category screen calls: the catalogue's category tree from the server.

#include <memory>

#include "app/model/cms/Category.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cms/OpenCategoryService.h"

class CmsCategoryService : public BaseService {
 public:
  explicit CmsCategoryService(std::weak_ptr<ServiceDelegate> delegate = {});

  // The root of the tree, or null when the server could not be asked (the delegate has heard why).
  std::shared_ptr<Category> getCourseCategory();

 private:
  const std::unique_ptr<OpenCategoryService> categoryService_;
};
