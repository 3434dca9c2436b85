#include "app/model/cms/DiscussCreator.h"

void DiscussCreator::declareProperties(pf::ClassBuilder<DiscussCreator>& b) {
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, userName);
  PF_PROPERTY(b, faceUrl);
}
