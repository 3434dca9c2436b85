#include "app/service/cmn/BaseService.h"

#include "core/util/FileTool.h"
#include "platform/foundation/Bundle.h"

BaseService::BaseService(std::weak_ptr<ServiceDelegate> delegate)
    : OpenService(std::move(delegate)), dbHelper(VelkDBHelper::instance()) {}

std::optional<pf::Data> BaseService::dataWithResource(const std::string& name, const std::string& type) {
  const std::optional<std::string> path = pf::Bundle::mainBundle()->pathForResource(name, type);
  if (!path) return std::nullopt;
  return FileTool::readDataFromFile(*path);
}
