#include "app/model/AppClasses.h"

#include "app/model/ans/AnsClasses.h"
#include "app/model/blg/BlgClasses.h"
#include "app/model/cmn/CmnClasses.h"
#include "app/model/cms/CmsClasses.h"
#include "app/model/ems/EmsClasses.h"
#include "app/model/lgn/LgnClasses.h"
#include "app/model/qsm/QsmClasses.h"

void registerAppClasses() {
  registerCmnClasses();
  registerLgnClasses();
  registerCmsClasses();
  registerEmsClasses();
  registerQsmClasses();
  registerAnsClasses();
  registerBlgClasses();
}
