#pragma once
// What the exam screens call: the learner's exams with their status and entry rule, a paper ready to
// answer or look at (made true/false options, pictures, earlier and unfinished answers), the
// unfinished answers kept on the device, marking on the device and submission.
//
// Thread rules: every operation runs to its end on the calling thread, remote calls included; an
// instance is used by one thread at a time.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/ems/EmsExam.h"
#include "app/model/ems/EmsUserAnswer.h"
#include "app/model/ems/ExamSubmitResult.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/ReminderService.h"
#include "app/service/ems/OpenExamService.h"
#include "app/service/ems/OpenPaperService.h"

class ExamService : public BaseService {
 public:
  // What joinTypeOfExam answers.
  enum JoinType { kCannotJoin = 0, kJoin = 1, kRejoin = 2 };

  static constexpr char kAppCode[] = "ems_my_exam";

  explicit ExamService(std::weak_ptr<ServiceDelegate> delegate = {});

  // Every exam of the learner with statusText set; nullopt when the call failed.
  std::optional<std::vector<std::shared_ptr<EmsExam>>> listAllExams();
  static std::string statusTextOfExam(const EmsExam& exam, pf::Date withDate);
  // From statusText, which listAllExams sets.
  static int joinTypeOfExam(const EmsExam& exam, pf::Date withDate);
  static bool showViewAnswerWithExam(const EmsExam& exam);

  // The exam's paper (its latest attempt with getLatest), prepared for answering or, with
  // viewAnswer, for looking at the delivered answers; unfinished answers kept on the device win.
  // Null when the call failed or the exam has no paper.
  std::shared_ptr<EmsPaper> findPaperWithExam(const EmsExam& exam, bool getLatest, bool viewAnswer);

  // Replaces the kept answers of the exam's paper with the questions' current answers, in one
  // transaction; false when nothing was written. A paper without questions keeps what was kept.
  bool saveUserAnswerWithExam(const std::shared_ptr<EmsExam>& exam);
  std::vector<std::shared_ptr<EmsUserAnswer>> loadUserAnswerWithExamId(
      const std::optional<std::string>& examId, const std::optional<std::string>& andPaperId);
  bool deleteUserAnswerWithExam(const EmsExam& exam);

  // Marks the paper, submits it and, when the server took it, forgets the kept answers and lowers
  // the badge. A submission without answer is "fail" and keeps them.
  std::shared_ptr<ExamSubmitResult> submitPaperForExam(EmsExam& exam);

  // Selections and typed text from the question's userAnswer.
  static void updateQuesInputTextAndItemSelectionByUserAnswer(EmsQuestion& question);
  static float countTotalScoreForExam(const EmsExam& exam);

  // Steps of the operations above, open for their tests; the screens call none of them.
  static void markExam(EmsExam& exam);
  // userAnswer from the selections and the typed text; nil when the question is unanswered.
  static void updateUserAnswerWithQuestion(EmsQuestion& question);
  static std::shared_ptr<EmsPaper> getSubmitPaperFromExam(const EmsExam& exam);
  static void checkAndInitQuestionItemsForQuestion(EmsQuestion& question);
  static void setQuestionAndItemsRefAttachmentsForQuestion(EmsQuestion& question);

  std::shared_ptr<OpenExamService> openExamService;
  std::shared_ptr<OpenPaperService> openPaperService;
  std::shared_ptr<ReminderService> reminderService;
  std::shared_ptr<CommonService> commonService;

 private:
  std::shared_ptr<EmsPaper> fetchPaper(const EmsExam& exam, bool getLatest);
};
