#include "app/service/cmn/UserMobileAppService.h"

#include <array>

#include "app/util/ViewUtil.h"
#include "core/reflect/TypeCode.h"
#include "core/util/CommonUtil.h"

namespace {

struct BuiltInModule {
  const char* appCode;
  const char* screenClass;
  bool navigated;
  const char* normalImage;
  const char* highlightedImage;
};

constexpr std::array<BuiltInModule, 6> kModules{{
    {"up_my_course", "CmsMainViewController", false, "CMN_NAVI_cms_n.png", "CMN_NAVI_cms_p.png"},
    {"wb_user", "BlgMainViewController", false, "CMN_NAVI_blg_n.png", "CMN_NAVI_blg_p.png"},
    {"qa_wenda", "AnsMainViewController", false, "CMN_NAVI_ans_n.png", "CMN_NAVI_ans_p.png"},
    {"qsm_user", "QsmAllViewController", true, "CMN_NAVI_qsm_n.png", "CMN_NAVI_qsm_p.png"},
    {"ems_my_exam", "EmsAllViewController", true, "CMN_NAVI_ems_n.png", "CMN_NAVI_ems_p.png"},
    {"square_app", "AppPlazaViewController", false, "CMN_NAVI_square_n.png", "CMN_NAVI_square_p.png"},
}};

const BuiltInModule* moduleOf(const std::optional<std::string>& appCode) {
  if (!appCode) return nullptr;
  for (const BuiltInModule& module : kModules) {
    if (*appCode == module.appCode) return &module;
  }
  return nullptr;
}

UserMobileAppService::Apps appsOf(const pf::Array& rows) {
  UserMobileAppService::Apps apps;
  for (const pf::Value& row : rows) {
    if (auto app = row.objectAs<MobileApp>()) apps.push_back(std::move(app));
  }
  return apps;
}

}  // namespace

UserMobileAppService::UserMobileAppService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      openUserMobileAppService_(std::make_unique<OpenUserMobileAppService>(delegate)),
      commonService_(std::make_unique<CommonService>(delegate)),
      reminderService_(std::make_unique<ReminderService>(delegate)) {}

bool UserMobileAppService::saveAndUpdateUserMobileAppsWithUserID(const std::string& userId) {
  const auto received = openUserMobileAppService_->getMobileApp(std::string(kPlatform));
  if (!received || received->empty()) return false;
  auto fresh = std::make_shared<pf::Array>();
  for (const auto& app : *received) {
    app->sid = CommonUtil::createNewUUID();
    app->userId = userId;
    fresh->push_back(pf::Value(app));
  }
  bool replaced = false;
  const bool ended = dbHelper->queueInTransaction([&](VelkDBHelper& db, bool& rollback) {
    auto present = std::make_shared<pf::Array>(db.queryForList(
        MobileApp::kClassName, "select * from mobile_app where user_id = ?", {pf::Value(userId)}));
    replaced = (present->empty() || db.deleteObjectsUseBatch(present)) && db.insertObjectsUseBatch(fresh);
    rollback = !replaced;
  });
  return ended && replaced;
}

UserMobileAppService::Apps UserMobileAppService::getLeftMenuApps() {
  const pf::Value user = currentUserValue();
  Apps apps = appsOf(dbHelper->queryForList(MobileApp::kClassName,
                                            "select * from mobile_app where ios_app = ? and left_menu = ? "
                                            "and user_id = ? order by left_menu_order ASC",
                                            {pf::Value(true), pf::Value(true), user}));
  const pf::Value squareCount = dbHelper->queryForSingleResult(
      TypeCode::Int, "select count(*) from mobile_app where ios_app = ? and app_square = ? and user_id = ?",
      {pf::Value(true), pf::Value(true), user});
  if (squareCount.intValue() > 0) {
    auto square = std::make_shared<MobileApp>();
    square->appName = kSquareAppName;
    square->appType = "DEFAULT";
    square->appCode = kSquareAppCode;
    apps.push_back(std::move(square));
  }
  return apps;
}

UserMobileAppService::Apps UserMobileAppService::getSquareApps() {
  return appsOf(dbHelper->queryForList(MobileApp::kClassName,
                                       "select * from mobile_app where ios_app = ? and app_square = ? and "
                                       "user_id = ? order by app_square_order ASC",
                                       {pf::Value(true), pf::Value(true), currentUserValue()}));
}

pf::ObjectPtr UserMobileAppService::firstViewController() {
  Apps first = appsOf(dbHelper->queryForList(
      MobileApp::kClassName, "select * from mobile_app where exist_index = ? and user_id = ? order by rowid",
      {pf::Value(true), currentUserValue()}));
  if (first.empty()) first = getLeftMenuApps();
  if (first.empty()) first = getSquareApps();
  if (first.empty()) return nullptr;
  return viewControllerWithAppCode(first.front()->appCode);
}

pf::ObjectPtr UserMobileAppService::viewControllerWithAppCode(const std::optional<std::string>& appCode) {
  const BuiltInModule* module = moduleOf(appCode);
  if (!module) return nullptr;
  pf::ObjectPtr screen = ViewUtil::viewControllerFromNibOfClass(module->screenClass);
  return module->navigated ? ViewUtil::navigationControllerWithRoot(screen) : screen;
}

std::string UserMobileAppService::normalImageWithAppCode(const std::optional<std::string>& appCode) {
  const BuiltInModule* module = moduleOf(appCode);
  return module ? module->normalImage : "CMN_NAVI_default_n.png";
}

std::string UserMobileAppService::hightlightImageWithAppCode(const std::optional<std::string>& appCode) {
  const BuiltInModule* module = moduleOf(appCode);
  return module ? module->highlightedImage : "CMN_NAVI_default_p.png";
}

pf::Value UserMobileAppService::currentUserValue() {
  const std::optional<std::string> userId = commonService_->getCurrentUserId();
  return userId ? pf::Value(*userId) : pf::Value();
}
