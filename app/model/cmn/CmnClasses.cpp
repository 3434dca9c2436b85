#include "app/model/cmn/CmnClasses.h"

#include "app/model/cmn/DataTransferObj.h"
#include "app/model/cmn/MobileApp.h"
#include "app/model/cmn/Page.h"
#include "app/model/cmn/SelectedObject.h"
#include "app/model/cmn/SyncDetail.h"
#include "app/model/cmn/SyncResult.h"
#include "app/model/cmn/ViewLogRecord.h"
#include "app/util/UploadResult.h"
#include "core/db/VelkSetting.h"

void registerCmnClasses() {
  pf::registerClass<VelkSetting>();
  pf::registerClass<Page>();
  pf::registerClass<SyncDetail>();
  pf::registerClass<SyncResult>();
  pf::registerClass<SelectedObject>();
  pf::registerClass<DataTransferObj>();
  pf::registerClass<MobileApp>();
  pf::registerClass<UploadResult>();
  pf::registerClass<ViewLogRecord>();
}
