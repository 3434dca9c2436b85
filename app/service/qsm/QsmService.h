#pragma once
// What the survey screens call: the learner's surveys with their status texts, newest first, and the
// submission of one survey's answers. Surveys are never stored; every list load asks the server.
// Synchronous: the list screen calls listAllSurveys on a global queue, the answering screen
// submitSurvey on the main thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/qsm/QsmSurvey.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/ReminderService.h"
#include "app/service/qsm/OpenSurveyService.h"

class QsmService : public BaseService {
 public:
  using Surveys = std::vector<std::shared_ptr<QsmSurvey>>;

  static constexpr char kAppCode[] = "qsm_user";
  static constexpr char kStatusDone[] = "完成";
  static constexpr char kStatusWaiting[] = "等待";
  static constexpr char kStatusOpen[] = "进入";
  static constexpr char kStatusExpired[] = "过期";
  // A time long before any survey, so the server answers the whole list.
  static constexpr double kFullListSince = 100000000;

  explicit QsmService(std::weak_ptr<ServiceDelegate> delegate = {});

  // Every survey published to the learner, newest publication first, each with its statusText; nullopt
  // when the server call failed (the delegate has been told).
  std::optional<Surveys> listAllSurveys();
  // Sends the answers held by the survey's questions and options; true when the server accepted them.
  // On success the survey badge goes down by one.
  bool submitSurvey(const std::shared_ptr<QsmSurvey>& survey);

  // "完成" once joined, else "等待" before the start, "进入" from the start up to the end, "过期" from
  // the end on; nullopt when a time it needs is missing (the survey keeps the text it had).
  static std::optional<std::string> statusTextOfSurvey(const QsmSurvey& survey, pf::Date now);
  // Newest publication first; surveys without a publication time go last.
  static bool surveySort(const std::shared_ptr<QsmSurvey>& a, const std::shared_ptr<QsmSurvey>& b);
  // The copy that is sent: only surveyId and one answer per question.
  static std::shared_ptr<QsmSurvey> getSubmitSurveyFromSurvey(const QsmSurvey& survey);
  static std::vector<std::shared_ptr<QsmUserAnswer>> userAnswersOfSurvey(const QsmSurvey& survey);

 private:
  std::unique_ptr<OpenSurveyService> openSurveyService_;
  std::unique_ptr<ReminderService> reminderService_;
};
