#include "app/service/ems/ExamService.h"

#include <algorithm>

#include "app/service/cmn/ValueLists.h"
#include "core/db/VelkDBHelper.h"
#include "core/util/CommonUtil.h"

namespace {

// Early enough that every exam is newer.
constexpr double kEveryExamSince = 100'000'000;

constexpr char kAllowAll[] = "allowAll";
constexpr char kShowRight[] = "showRight";
constexpr char kNoRight[] = "noRight";
constexpr char kNo[] = "no";

constexpr char kSoonText[] = "即将开始";
constexpr char kExpiredText[] = "已过期";
constexpr char kJoinText[] = "进入考试";
constexpr char kUnsubmittedText[] = "未交卷";
constexpr char kPassedText[] = "考试通过";
constexpr char kRejoinText[] = "进入补考";
constexpr char kFailedText[] = "考试未通过";
constexpr char kUnjudgedText[] = "等待评卷";

// A missing start or end leaves the window open on that side.
bool beforeStart(const EmsExam& exam, pf::Date date) {
  return exam.startTime && date < *exam.startTime;
}
bool afterEnd(const EmsExam& exam, pf::Date date) {
  return exam.endTime && date > *exam.endTime;
}
bool beforeEnd(const EmsExam& exam, pf::Date date) {
  return !exam.endTime || date < *exam.endTime;
}

}  // namespace

ExamService::ExamService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      openExamService(std::make_shared<OpenExamService>(delegate)),
      openPaperService(std::make_shared<OpenPaperService>(delegate)),
      reminderService(std::make_shared<ReminderService>(delegate)),
      commonService(std::make_shared<CommonService>(delegate)) {}

std::optional<std::vector<std::shared_ptr<EmsExam>>> ExamService::listAllExams() {
  const auto answer = openExamService->loadExamsAfter(pf::Date{kEveryExamSince});
  if (!answer || !answer->results) return std::nullopt;
  const pf::Date now = pf::Date::now();
  std::vector<std::shared_ptr<EmsExam>> exams;
  for (const pf::Value& element : *answer->results) {
    auto exam = element.objectAs<EmsExam>();
    if (!exam) continue;
    exam->statusText = statusTextOfExam(*exam, now);
    exams.push_back(std::move(exam));
  }
  return exams;
}

std::string ExamService::statusTextOfExam(const EmsExam& exam, pf::Date withDate) {
  const std::string status = exam.status.value_or("");
  if (status == EmsExam::kUnjoined) {
    if (beforeStart(exam, withDate)) return kSoonText;
    return afterEnd(exam, withDate) ? kExpiredText : kJoinText;
  }
  if (status == EmsExam::kJoinUnsubmit) return kUnsubmittedText;
  if (status == EmsExam::kPassed) return kPassedText;
  if (status == EmsExam::kUnpassed) {
    const bool mayRetake = beforeEnd(exam, withDate) && exam.autoRejoin && exam.remainJoinCount > 0;
    return mayRetake ? kRejoinText : kFailedText;
  }
  if (status == EmsExam::kUnjudged) return kUnjudgedText;
  return {};
}

int ExamService::joinTypeOfExam(const EmsExam& exam, pf::Date withDate) {
  const std::string text = exam.statusText.value_or("");
  if (text == kUnsubmittedText) {
    if (afterEnd(exam, withDate)) return kCannotJoin;
    return exam.examCount < 2 ? kJoin : kRejoin;
  }
  if (text == kJoinText) return kJoin;
  if (text == kRejoinText) return kRejoin;
  if (text == kFailedText) {
    if (afterEnd(exam, withDate) || exam.remainJoinCount <= 0) return kCannotJoin;
    return kRejoin;
  }
  return kCannotJoin;
}

bool ExamService::showViewAnswerWithExam(const EmsExam& exam) {
  const std::string text = exam.statusText.value_or("");
  const bool finished = text == kPassedText || text == kFailedText || text == kRejoinText ||
                        (text == kUnsubmittedText && exam.examCount >= 2);
  return finished && exam.allowViewOldAnswer != kNo;
}

std::shared_ptr<EmsPaper> ExamService::fetchPaper(const EmsExam& exam, bool getLatest) {
  if (getLatest) return openPaperService->getLastPaper(exam.examId);
  const auto papers = openPaperService->loadPapers(exam.examId);
  return papers && !papers->empty() ? papers->front() : nullptr;
}

std::shared_ptr<EmsPaper> ExamService::findPaperWithExam(const EmsExam& exam, bool getLatest,
                                                         bool viewAnswer) {
  const auto paper = fetchPaper(exam, getLatest);
  if (!paper) return nullptr;
  const auto kept = loadUserAnswerWithExamId(exam.examId, paper->paperId);
  const bool onlyFailedShown = exam.allowViewOldAnswer == kNoRight || exam.allowViewOldAnswer == kShowRight;
  const bool rightShown = exam.allowViewOldAnswer == kAllowAll || exam.allowViewOldAnswer == kShowRight;
  for (const auto& question : paper->questions) {
    if (!question) continue;
    setQuestionAndItemsRefAttachmentsForQuestion(*question);
    checkAndInitQuestionItemsForQuestion(*question);
    const bool deliveredShown = !onlyFailedShown || !question->passed;
    if (viewAnswer && deliveredShown) updateQuesInputTextAndItemSelectionByUserAnswer(*question);
    const auto own = std::ranges::find_if(
        kept, [&](const auto& a) { return question->questionId && a->questionId == question->questionId; });
    if (own != kept.end()) {
      question->userAnswer = (*own)->userAnswer;
      updateQuesInputTextAndItemSelectionByUserAnswer(*question);
    }
    question->showRightAnswer = rightShown && viewAnswer && deliveredShown;
  }
  return paper;
}

bool ExamService::saveUserAnswerWithExam(const std::shared_ptr<EmsExam>& exam) {
  if (!exam || !exam->paper || exam->paper->questions.empty()) return false;
  const EmsPaper& paper = *exam->paper;
  // Rows of nobody could never be found again.
  const auto userId = commonService->getCurrentUserId();
  if (!userId) return false;
  std::vector<std::shared_ptr<EmsUserAnswer>> rows;
  for (const auto& question : paper.questions) {
    if (!question) continue;
    updateUserAnswerWithQuestion(*question);
    if (!question->userAnswer) continue;
    auto row = std::make_shared<EmsUserAnswer>();
    row->sid = CommonUtil::createNewUUID();
    row->userId = userId;
    row->examId = exam->examId;
    row->paperId = paper.paperId;
    row->questionId = question->questionId;
    row->userAnswer = question->userAnswer;
    rows.push_back(std::move(row));
  }
  // The old set goes only when the new one is in.
  bool written = false;
  const bool ended = dbHelper->queueInTransaction([&](VelkDBHelper& db, bool& rollback) {
    const auto old = loadUserAnswerWithExamId(exam->examId, paper.paperId);
    written = db.deleteObjectsUseBatch(arrayOf(old)) && db.insertObjectsUseBatch(arrayOf(rows));
    rollback = !written;
  });
  return ended && written;
}

std::vector<std::shared_ptr<EmsUserAnswer>> ExamService::loadUserAnswerWithExamId(
    const std::optional<std::string>& examId, const std::optional<std::string>& andPaperId) {
  const auto userId = commonService->getCurrentUserId();
  auto value = [](const std::optional<std::string>& text) { return text ? pf::Value(*text) : pf::Value(); };
  const pf::Array found = dbHelper->queryForList(
      EmsUserAnswer::kClassName,
      "select * from ems_user_answer where exam_id = ? and paper_id = ? and user_id = ?",
      {value(examId), value(andPaperId), value(userId)});
  std::vector<std::shared_ptr<EmsUserAnswer>> answers;
  for (const pf::Value& row : found) {
    if (auto answer = row.objectAs<EmsUserAnswer>()) answers.push_back(std::move(answer));
  }
  return answers;
}

bool ExamService::deleteUserAnswerWithExam(const EmsExam& exam) {
  if (!exam.paper) return false;
  const auto kept = loadUserAnswerWithExamId(exam.examId, exam.paper->paperId);
  return kept.empty() || dbHelper->deleteObjectsUseBatch(arrayOf(kept));
}

std::shared_ptr<ExamSubmitResult> ExamService::submitPaperForExam(EmsExam& exam) {
  auto result = std::make_shared<ExamSubmitResult>();
  result->resultCode = ExamSubmitResult::kFail;
  // Nothing to submit: an empty paper would read as a passed attempt.
  if (!exam.paper) return result;
  markExam(exam);
  const auto copy = getSubmitPaperFromExam(exam);
  result->examResultId = copy->examResultId;
  const auto answer = openPaperService->batchSubmit({copy});
  if (answer && !answer->empty() && answer->front()) result = answer->front();
  if (result->resultCode == ExamSubmitResult::kSuccess) {
    deleteUserAnswerWithExam(exam);
    const int badge = reminderService->getAppReminderWithAppCode(kAppCode);
    reminderService->updateMobileAppReminderWithAppCode(kAppCode, std::max(badge - 1, 0));
  }
  return result;
}

void ExamService::updateQuesInputTextAndItemSelectionByUserAnswer(EmsQuestion& question) {
  question.restoreFromUserAnswer();
}

float ExamService::countTotalScoreForExam(const EmsExam& exam) {
  float total = 0;
  if (!exam.paper) return total;
  for (const auto& question : exam.paper->questions) {
    if (question) total += question->score;
  }
  return total;
}

void ExamService::markExam(EmsExam& exam) {
  if (!exam.paper) return;
  EmsPaper& paper = *exam.paper;
  size_t judged = 0;
  float sum = 0;
  float total = 0;
  for (const auto& question : paper.questions) {
    if (!question) continue;
    updateUserAnswerWithQuestion(*question);
    if (question->canAutoJudge()) {
      // Judging leaves an unanswered question alone; a delivered score must not count for it.
      question->passed = false;
      question->userScore = 0;
      question->updatePassedAndUserScore();
      ++judged;
      sum += question->userScore;
    } else if (exam.autoJudge) {
      question->passed = false;
      question->userScore = 0;
    }
    total += question->score;
  }
  const bool marked =
      exam.showResultType == EmsExam::kResultOnDevice && (exam.autoJudge || judged == paper.questions.size());
  if (!marked) {
    exam.status = EmsExam::kUnjudged;
    paper.showResult = false;
    return;
  }
  paper.showResult = true;
  paper.passed = sum >= total * exam.passRate / 100.0f;
  paper.credit = paper.passed ? exam.credit : 0;
  paper.score = sum;
  exam.totalScore = total;
  exam.userExamScore = sum;
  exam.score = paper.credit;
  exam.status = paper.passed ? EmsExam::kPassed : EmsExam::kUnpassed;
}

void ExamService::updateUserAnswerWithQuestion(EmsQuestion& question) {
  question.encodeUserAnswer();
}

std::shared_ptr<EmsPaper> ExamService::getSubmitPaperFromExam(const EmsExam& exam) {
  auto copy = std::make_shared<EmsPaper>();
  copy->isJoin = true;
  if (!exam.paper) return copy;
  const EmsPaper& paper = *exam.paper;
  copy->examId = paper.examId;
  copy->paperId = paper.paperId;
  copy->submitTime = paper.submitTime;
  copy->submitState = paper.submitState;
  copy->forceSubmitted = paper.forceSubmitted;
  copy->firstJoinTime = paper.firstJoinTime;
  copy->examResultId = paper.examResultId;
  copy->showResult = paper.showResult;
  copy->credit = paper.credit;
  copy->passed = paper.passed;
  copy->score = paper.score;
  for (const auto& question : paper.questions) {
    if (!question) continue;
    auto sent = std::make_shared<EmsQuestion>();
    sent->paperId = question->paperId;
    sent->questionId = question->questionId;
    sent->type = question->type;
    sent->passed = question->passed;
    sent->userScore = question->userScore;
    sent->score = question->score;
    sent->answer = question->answer;
    sent->userAnswer = question->userAnswer;
    copy->questions.push_back(std::move(sent));
  }
  return copy;
}

void ExamService::checkAndInitQuestionItemsForQuestion(EmsQuestion& question) {
  question.makeTrueFalseItems();
}

void ExamService::setQuestionAndItemsRefAttachmentsForQuestion(EmsQuestion& question) {
  for (const auto& attachment : question.attachments) {
    if (!attachment) continue;
    if (attachment->objectType == EmsAttachment::kOfQuestion && attachment->objectId == question.questionId) {
      question.refAttaments.push_back(attachment);
    } else if (attachment->objectType == EmsAttachment::kOfOption) {
      const auto item = std::ranges::find_if(
          question.items, [&](const auto& i) { return i && i->itemId == attachment->objectId; });
      if (item != question.items.end()) (*item)->refAttaments.push_back(attachment);
    }
  }
}
