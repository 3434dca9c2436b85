#include "app/model/cmn/MobileApp.h"

void MobileApp::declareProperties(pf::ClassBuilder<MobileApp>& b) {
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, appId);
  PF_PROPERTY(b, appCode);
  PF_PROPERTY(b, appName);
  PF_PROPERTY(b, appIcon);
  PF_PROPERTY(b, appType);
  PF_PROPERTY(b, iosApp);
  PF_PROPERTY(b, androidApp);
  PF_PROPERTY(b, leftMenu);
  PF_PROPERTY(b, leftMenuOrder);
  PF_PROPERTY(b, appSquare);
  PF_PROPERTY(b, appSquareOrder);
  PF_PROPERTY(b, existIndex);
  PF_PROPERTY(b, iosUrlSchemes);
  PF_PROPERTY(b, iosUrlIdentifier);
  PF_PROPERTY(b, iosAppId);
  PF_PROPERTY(b, apkId);
  PF_PROPERTY(b, apkDownloadUrl);
  PF_PROPERTY(b, userCount);
  PF_PROPERTY(b, corpCode);
  PF_PROPERTY(b, defaultAppMd5);
  PF_PROPERTY(b, reminder);
}
