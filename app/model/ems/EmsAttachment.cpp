#include "app/model/ems/EmsAttachment.h"

void EmsAttachment::declareProperties(pf::ClassBuilder<EmsAttachment>& b) {
  PF_PROPERTY(b, id);
  PF_PROPERTY(b, url);
  PF_PROPERTY(b, download);
  PF_PROPERTY(b, objectId);
  PF_PROPERTY(b, objectType);
  PF_PROPERTY(b, fileName);
}
