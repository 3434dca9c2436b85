#include "app/service/cms/OpenDiscussService.h"

#include "app/service/cmn/OpenText.h"
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
  ServiceManager::ParamDic params{{"content", openText(content)}, {"courseId", openText(courseId)}};
  registerReplies();
  return ServiceManager::performRemoteMethod(kCommentCoursePath, params, Discuss::kClassName, delegate())
      .objectAs<Discuss>();
}

std::shared_ptr<Discuss> OpenDiscussService::replyCourse(const std::optional<std::string>& content,
                                                         const std::optional<std::string>& commentIdPath,
                                                         const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"content", openText(content)},
                                  {"commentIdPath", openText(commentIdPath)},
                                  {"courseId", openText(courseId)}};
  registerReplies();
  return ServiceManager::performRemoteMethod(kReplyCoursePath, params, Discuss::kClassName, delegate())
      .objectAs<Discuss>();
}

std::shared_ptr<Page> OpenDiscussService::loadDiscuss(const std::shared_ptr<Page>& page,
                                                      const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"page", openValue(pf::Value(page))}, {"courseId", openText(courseId)}};
  registerReplies();
  ReflectionUtil::setArrayType(Discuss::kClassName, "rows", Page::kClassName);
  return ServiceManager::performRemoteMethod(kLoadDiscussPath, params, Page::kClassName, delegate())
      .objectAs<Page>();
}
