#include "app/model/cms/CmsClasses.h"

#include "app/model/cms/Category.h"
#include "app/model/cms/CmsSearchInfo.h"
#include "app/model/cms/CourseDownloadInfo.h"
#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/CourseStudyRecord.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/Discuss.h"
#include "app/model/cms/DownloadInfo.h"
#include "app/model/cms/DiscussCreator.h"
#include "app/model/cms/PopularizeResource.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/model/cms/Teacher.h"

void registerCmsClasses() {
  pf::registerClass<Teacher>();
  pf::registerClass<CourseInfo>();
  pf::registerClass<CourseSco>();
  pf::registerClass<ScoStudyRecord>();
  pf::registerClass<CourseStudyRecord>();
  pf::registerClass<ScoViewInfo>();
  pf::registerClass<CourseViewInfo>();
  pf::registerClass<Category>();
  pf::registerClass<CmsSearchInfo>();
  pf::registerClass<PopularizeResource>();
  pf::registerClass<DiscussCreator>();
  pf::registerClass<Discuss>();
  pf::registerClass<DownloadInfo>();
  pf::registerClass<ScoDownloadInfo>();
  pf::registerClass<CourseDownloadInfo>();
}
