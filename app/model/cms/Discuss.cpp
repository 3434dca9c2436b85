#include "app/model/cms/Discuss.h"

void Discuss::declareProperties(pf::ClassBuilder<Discuss>& b) {
  PF_PROPERTY(b, discussId);
  PF_PROPERTY(b, discussName);
  PF_PROPERTY(b, content);
  PF_PROPERTY(b, creator);
  PF_PROPERTY(b, createTime);
  PF_PROPERTY(b, objectId);
  PF_PROPERTY(b, objectType);
  PF_PROPERTY(b, appCode);
  PF_PROPERTY(b, idPath);
  b.property("discussList", &Discuss::discussList, "NSMutableArray");
  PF_PROPERTY(b, replyCount);
  PF_PROPERTY(b, peakCount);
  PF_PROPERTY(b, treadCount);
  PF_PROPERTY(b, recommendCount);
  PF_PROPERTY(b, floorToResource);
  PF_PROPERTY(b, floorToPost);
  PF_PROPERTY(b, lastReplyPerson);
  PF_PROPERTY(b, lastReplyTime);
  PF_PROPERTY(b, isTopic);
  PF_PROPERTY(b, isTop);
}
