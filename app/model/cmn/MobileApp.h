#pragma once
// One module of a user's menu as the server assigns it, one row of table mobile_app per module and
// user; reminder is the module's badge count as stored at the last online sign-in.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class MobileApp : public BaseDomain {
  PF_OBJECT(MobileApp, BaseDomain)

  std::optional<std::string> userId;
  std::optional<std::string> appId;
  std::optional<std::string> appCode;
  std::optional<std::string> appName;
  std::optional<std::string> appIcon;
  // "DEFAULT" for a module built into the client.
  std::optional<std::string> appType;
  bool iosApp = false;
  bool androidApp = false;
  bool leftMenu = false;
  int leftMenuOrder = 0;
  bool appSquare = false;
  int appSquareOrder = 0;
  // The module opened first after sign-in.
  bool existIndex = false;
  std::optional<std::string> iosUrlSchemes;
  std::optional<std::string> iosUrlIdentifier;
  std::optional<std::string> iosAppId;
  std::optional<std::string> apkId;
  std::optional<std::string> apkDownloadUrl;
  int userCount = 0;
  std::optional<std::string> corpCode;
  std::optional<std::string> defaultAppMd5;
  int reminder = 0;

  static void declareProperties(pf::ClassBuilder<MobileApp>& b);
};
