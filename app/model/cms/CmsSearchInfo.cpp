#include "app/model/cms/CmsSearchInfo.h"

void CmsSearchInfo::declareProperties(pf::ClassBuilder<CmsSearchInfo>& b) {
  PF_PROPERTY(b, searchId);
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, title);
  PF_PROPERTY(b, lastTime);
}
