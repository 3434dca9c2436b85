#pragma once
// The server's course category tree, sent whole in one answer. One blocking remote call; a failure
// answers null and reaches the delegate with the path.

#include <memory>

#include "app/model/cms/Category.h"
#include "core/open/OpenService.h"

class OpenCategoryService : public OpenService {
 public:
  static constexpr char kGetCourseCategoryPath[] = "/v1/lcms/category/getCourseCategory";

  using OpenService::OpenService;

  // The root of the tree; children are Category objects at every level.
  std::shared_ptr<Category> getCourseCategory();
};
