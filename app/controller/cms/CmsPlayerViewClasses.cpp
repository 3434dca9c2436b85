#include "app/controller/cms/CmsPlayerViewClasses.h"

#include "app/controller/cms/CmsDownloadViewCotnroller.h"
#include "app/controller/cms/CmsMainMediaPlayerViewController.h"
#include "app/controller/cms/CmsOnlylecturePlayerViewController.h"
#include "platform/runtime/ClassBuilder.h"

void registerCmsPlayerViewClasses() {
  pf::registerClass<CmsMainMediaPlayerViewController>();
  pf::registerClass<CmsOnlylecturePlayerViewController>();
  pf::registerClass<CmsDownloadViewCotnroller>();
}
