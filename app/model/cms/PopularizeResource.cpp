#include "app/model/cms/PopularizeResource.h"

void PopularizeResource::declareProperties(pf::ClassBuilder<PopularizeResource>& b) {
  PF_PROPERTY(b, popularizeId);
  PF_PROPERTY(b, courseId);
  PF_PROPERTY(b, courseName);
  b.property("description", &PopularizeResource::promotionText);
  PF_PROPERTY(b, coverImgBig);
  PF_PROPERTY(b, coverImgMiddle);
  PF_PROPERTY(b, coverImgSmall);
  PF_PROPERTY(b, coverImgLeast);
  PF_PROPERTY(b, showOrder);
}
