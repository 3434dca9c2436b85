#include "app/model/qsm/QsmClasses.h"

#include "app/model/qsm/QsmQuestion.h"
#include "app/model/qsm/QsmQuestionOption.h"
#include "app/model/qsm/QsmSurvey.h"
#include "app/model/qsm/QsmSurveyReply.h"
#include "app/model/qsm/QsmUserAnswer.h"
#include "app/model/qsm/QuestionnaireUser.h"

void registerQsmClasses() {
  pf::registerClass<QsmQuestionOption>();
  pf::registerClass<QsmQuestion>();
  pf::registerClass<QsmSurveyReply>();
  pf::registerClass<QsmUserAnswer>();
  pf::registerClass<QsmSurvey>();
  pf::registerClass<QuestionnaireUser>();
}
