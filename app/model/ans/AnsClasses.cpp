#include "app/model/ans/AnsClasses.h"

#include "app/model/ans/Answer.h"
#include "app/model/ans/QaQuestion.h"
#include "app/model/ans/QuestionTopic.h"
#include "app/model/ans/QuestionUser.h"

void registerAnsClasses() {
  pf::registerClass<QuestionUser>();
  pf::registerClass<QuestionTopic>();
  pf::registerClass<QaQuestion>();
  pf::registerClass<Answer>();
}
