#include "app/service/ems/OpenPaperService.h"

#include "app/service/cmn/OpenText.h"
#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

namespace {

void registerPaperElementTypes() {
  ReflectionUtil::setArrayType(EmsQuestion::kClassName, "questions", EmsPaper::kClassName);
  ReflectionUtil::setArrayType(EmsQuestionItem::kClassName, "items", EmsQuestion::kClassName);
  ReflectionUtil::setArrayType(EmsAttachment::kClassName, "attachments", EmsQuestion::kClassName);
}

template <typename T>
std::optional<std::vector<std::shared_ptr<T>>> listOf(const pf::Value& answer) {
  if (!answer.isArray()) return std::nullopt;
  std::vector<std::shared_ptr<T>> list;
  for (const pf::Value& element : *answer.array()) {
    if (auto typed = element.objectAs<T>()) list.push_back(std::move(typed));
  }
  return list;
}

}  // namespace

std::optional<std::vector<std::shared_ptr<EmsPaper>>> OpenPaperService::loadPapers(
    const std::optional<std::string>& examId) {
  // The server expects the key even without an exam.
  ServiceManager::ParamDic params{{"examIds", openText(examId)}};
  registerPaperElementTypes();
  return listOf<EmsPaper>(ServiceManager::performRemoteMethod("/v1/ems/paper/loadPapers", params,
                                                              EmsPaper::kClassName, delegate()));
}

std::shared_ptr<EmsPaper> OpenPaperService::getLastPaper(const std::optional<std::string>& examId) {
  ServiceManager::ParamDic params;
  if (examId) params["examId"] = openValue(pf::Value(*examId));
  registerPaperElementTypes();
  return ServiceManager::performRemoteMethod("/v1/ems/paper/getLastPaper", params, EmsPaper::kClassName,
                                             delegate())
      .objectAs<EmsPaper>();
}

std::optional<std::vector<std::shared_ptr<ExamSubmitResult>>> OpenPaperService::batchSubmit(
    const std::vector<std::shared_ptr<EmsPaper>>& papers) {
  auto list = std::make_shared<pf::Array>();
  for (const auto& paper : papers) list->push_back(pf::Value(pf::ObjectPtr(paper)));
  ServiceManager::ParamDic params{{"papers", openValue(pf::Value(list))}};
  return listOf<ExamSubmitResult>(ServiceManager::performRemoteMethod(
      "/v1/ems/paper/batchSubmit", params, ExamSubmitResult::kClassName, delegate()));
}
