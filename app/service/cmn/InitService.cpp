#include "app/service/cmn/InitService.h"

#include <optional>
#include <string>

#include "app/model/AppClasses.h"
#include "app/service/cmn/ServerSettings.h"
#include "app/util/ApplicationBackgroundTasks.h"
#include "core/db/VelkDBHelper.h"
#include "core/db/VelkSetting.h"
#include "core/open/ServiceManager.h"
#include "core/util/FileTool.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"

namespace {

constexpr char kDbVersionKey[] = "db_version";

}  // namespace

InitService::DatabaseStart InitService::initAll() {
  const DatabaseStart start = initDatabase();
  initOpenSetting();
  ApplicationBackgroundTasks::install();
  return start;
}

InitService::DatabaseStart InitService::initDatabase() {
  registerAppClasses();
  const auto bundle = pf::Bundle::mainBundle();
  const std::string configPath =
      bundle->pathForResource("DBConfig", "xml").value_or(bundle->bundlePath() + "/DBConfig.xml");
  VelkDBHelper::initWithConfigPath(configPath, FileTool::getDocumentPath() + "/Marlune.db");
  const auto store = VelkDBHelper::instance();
  store->setShowError(true);
  const std::string version = pf::format("%.1f", static_cast<double>(store->dbVersion()));

  if (store->isDatabaseExist()) {
    // A database of an earlier release lacks the indexes declared since.
    store->createIndexes();
    const auto stored =
        std::dynamic_pointer_cast<VelkSetting>(store->queryForObject("VelkSetting", kDbVersionKey));
    if (stored && stored->value == version) return DatabaseStart::Current;
    store->updateSchema();
    return DatabaseStart::SchemaUpdated;
  }
  try {
    if (!store->createDatabase()) return DatabaseStart::Unavailable;
  } catch (const pf::ContractViolation& e) {
    // A disk that refuses the file must not stop the launch. A half-made database would pass for a
    // made one at the next launch, so it goes, and the next launch creates it again.
    pf::logf("%@", e.what());
    store->removeDatabase();
    return DatabaseStart::Unavailable;
  }
  store->insertObject(VelkSetting::settingWithKey(kDbVersionKey, version));
  return DatabaseStart::Created;
}

void InitService::initOpenSetting() {
  ServiceManager::initConfiguration(ServerSettings::load(*pf::Bundle::mainBundle()));
}
