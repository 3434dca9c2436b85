#include "app/service/cms/OpenDiscussService.h"

#include "app/service/cms/OpenArgument.h"
#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

namespace {

void registerReplies() {
  ReflectionUtil::setArrayType(Discuss::kClassName, "discussList", Discuss::kClassName);
}

}  // namespace

std::shared_ptr<Discuss> OpenDiscussService::commentCourse(const std::optional<std::string>& content,
                                                           const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"content", openValue(openArgument(content))},
                                  {"courseId", openValue(openArgument(courseId))}};
  registerReplies();
  return ServiceManager::performRemoteMethod(kCommentCoursePath, params, Discuss::kClassName, delegate())
      .objectAs<Discuss>();
}

std::shared_ptr<Discuss> OpenDiscussService::replyCourse(const std::optional<std::string>& content,
                                                         const std::optional<std::string>& commentIdPath,
                                                         const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"content", openValue(openArgument(content))},
                                  {"commentIdPath", openValue(openArgument(commentIdPath))},
                                  {"courseId", openValue(openArgument(courseId))}};
  registerReplies();
  return ServiceManager::performRemoteMethod(kReplyCoursePath, params, Discuss::kClassName, delegate())
      .objectAs<Discuss>();
}

std::shared_ptr<Page> OpenDiscussService::loadDiscuss(const std::shared_ptr<Page>& page,
                                                      const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"page", openValue(pf::Value(page))},
                                  {"courseId", openValue(openArgument(courseId))}};
  registerReplies();
  ReflectionUtil::setArrayType(Discuss::kClassName, "rows", Page::kClassName);
  return ServiceManager::performRemoteMethod(kLoadDiscussPath, params, Page::kClassName, delegate())
      .objectAs<Page>();
}
