#include "app/service/qsm/QsmService.h"

#include <algorithm>

QsmService::QsmService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      openSurveyService_(std::make_unique<OpenSurveyService>(delegate)),
      reminderService_(std::make_unique<ReminderService>(delegate)) {}

std::optional<QsmService::Surveys> QsmService::listAllSurveys() {
  const std::shared_ptr<SyncResult> answer = openSurveyService_->sync(pf::Date{kFullListSince});
  if (!answer) return std::nullopt;
  const pf::Date now = pf::Date::now();
  Surveys surveys;
  if (answer->results) {
    for (const pf::Value& element : *answer->results) {
      if (auto survey = element.objectAs<QsmSurvey>()) surveys.push_back(std::move(survey));
    }
  }
  for (const auto& survey : surveys) {
    if (std::optional<std::string> text = statusTextOfSurvey(*survey, now)) survey->statusText = std::move(text);
  }
  std::stable_sort(surveys.begin(), surveys.end(), surveySort);
  return surveys;
}

bool QsmService::submitSurvey(const std::shared_ptr<QsmSurvey>& survey) {
  if (!survey) return false;
  if (!openSurveyService_->batchSubmit({getSubmitSurveyFromSurvey(*survey)})) return false;
  const int count = reminderService_->getAppReminderWithAppCode(kAppCode);
  reminderService_->updateMobileAppReminderWithAppCode(kAppCode, std::max(count - 1, 0));
  return true;
}

std::optional<std::string> QsmService::statusTextOfSurvey(const QsmSurvey& survey, pf::Date now) {
  if (survey.joined) return kStatusDone;
  if (!survey.startTime) return std::nullopt;
  if (now < *survey.startTime) return kStatusWaiting;
  if (!survey.endTime) return std::nullopt;
  if (now < *survey.endTime) return kStatusOpen;
  return kStatusExpired;
}

bool QsmService::surveySort(const std::shared_ptr<QsmSurvey>& a, const std::shared_ptr<QsmSurvey>& b) {
  if (!a->publishTime || !b->publishTime) return a->publishTime.has_value() && !b->publishTime.has_value();
  return *a->publishTime > *b->publishTime;
}

std::shared_ptr<QsmSurvey> QsmService::getSubmitSurveyFromSurvey(const QsmSurvey& survey) {
  auto submitted = std::make_shared<QsmSurvey>();
  submitted->surveyId = survey.surveyId;
  submitted->userAnswers = userAnswersOfSurvey(survey);
  return submitted;
}

std::vector<std::shared_ptr<QsmUserAnswer>> QsmService::userAnswersOfSurvey(const QsmSurvey& survey) {
  std::vector<std::shared_ptr<QsmUserAnswer>> answers;
  if (!survey.questions) return answers;
  for (const auto& question : *survey.questions) {
    if (!question) continue;
    auto answer = std::make_shared<QsmUserAnswer>();
    answer->questionId = question->questionId;
    const QsmQuestion::Options chosen = question->selectedItems();
    if (!chosen.empty()) {
      std::string ids;
      for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (i > 0) ids += QsmUserAnswer::kOptionSeparator;
        ids += chosen[i]->optionId.value_or("");
      }
      answer->userSelect = ids;
    }
    if (question->canInputText()) answer->userInput = question->inputText;
    answers.push_back(std::move(answer));
  }
  return answers;
}
