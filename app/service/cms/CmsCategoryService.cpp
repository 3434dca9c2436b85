#include "app/service/cms/CmsCategoryService.h"

CmsCategoryService::CmsCategoryService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate), categoryService_(std::make_unique<OpenCategoryService>(delegate)) {}

std::shared_ptr<Category> CmsCategoryService::getCourseCategory() {
  return categoryService_->getCourseCategory();
}
