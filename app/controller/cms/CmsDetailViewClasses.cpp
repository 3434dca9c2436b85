#include "app/controller/cms/CmsDetailViewClasses.h"

#include "app/controller/cms/CmsDetailViewController.h"
#include "platform/runtime/ClassBuilder.h"

void registerCmsDetailViewClasses() {
  pf::registerClass<CmsDetailViewController>();
}
