#include "app/service/blg/BlogCalls.h"

#include "app/model/blg/Topic.h"
#include "core/reflect/ReflectionUtil.h"

namespace blg_calls {

void registerBlogTypes() {
  ReflectionUtil::setArrayType(Topic::kClassName, "topicList", Blog::kClassName);
}

std::shared_ptr<Page> page(const char* uri, Params params, const char* rowClass,
                           const std::shared_ptr<ServiceDelegate>& delegate) {
  ReflectionUtil::setArrayType(rowClass, "rows", Page::kClassName);
  return ServiceManager::performRemoteMethod(uri, params, Page::kClassName, delegate).objectAs<Page>();
}

bool success(const char* uri, Params params, const std::shared_ptr<ServiceDelegate>& delegate) {
  return ServiceManager::performRemoteMethod(uri, params, delegate);
}

pf::Value scalar(const char* uri, Params params, const char* typeLetter,
                 const std::shared_ptr<ServiceDelegate>& delegate) {
  return ServiceManager::performRemoteMethod(uri, params, typeLetter, delegate);
}

}  // namespace blg_calls
