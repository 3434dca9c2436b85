#include "app/service/cms/OpenCategoryService.h"

#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

std::shared_ptr<Category> OpenCategoryService::getCourseCategory() {
  ServiceManager::ParamDic params;
  ReflectionUtil::setArrayType(Category::kClassName, "childCategories", Category::kClassName);
  return ServiceManager::performRemoteMethod(kGetCourseCategoryPath, params, Category::kClassName, delegate())
      .objectAs<Category>();
}
