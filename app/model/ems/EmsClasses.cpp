#include "app/model/ems/EmsClasses.h"

#include "app/model/ems/EmsAttachment.h"
#include "app/model/ems/EmsExam.h"
#include "app/model/ems/EmsPaper.h"
#include "app/model/ems/EmsQuestion.h"
#include "app/model/ems/EmsQuestionItem.h"
#include "app/model/ems/EmsUserAnswer.h"
#include "app/model/ems/ExamSubmitResult.h"

void registerEmsClasses() {
  pf::registerClass<EmsAttachment>();
  pf::registerClass<EmsQuestionItem>();
  pf::registerClass<EmsQuestion>();
  pf::registerClass<EmsPaper>();
  pf::registerClass<EmsExam>();
  pf::registerClass<EmsUserAnswer>();
  pf::registerClass<ExamSubmitResult>();
}
