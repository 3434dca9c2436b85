#include "app/util/UploadResult.h"

void UploadResult::declareProperties(pf::ClassBuilder<UploadResult>& b) {
  PF_PROPERTY(b, fsId);
  PF_PROPERTY(b, storedFileId);
  PF_PROPERTY(b, storedFileName);
  PF_PROPERTY(b, fileSize);
  PF_PROPERTY(b, contentType);
  PF_PROPERTY(b, signedUrl);
  PF_PROPERTY(b, signedDownloadUrl);
  PF_PROPERTY(b, processResultStatus);
  PF_PROPERTY(b, processResultMessage);
  PF_PROPERTY(b, extractResultStatus);
  PF_PROPERTY(b, subFileList);
  PF_PROPERTY(b, secured);
  PF_PROPERTY(b, async);
  PF_PROPERTY(b, system);
  PF_PROPERTY(b, responseFormat);
  PF_PROPERTY(b, uploadProcessorName);
}
