#pragma once
// Base of the local services, the ones screens call. Like a remote service it reports failures to a
// delegate it does not own; it also holds the process-wide object store.
//
// How a local service is written (copy this):
//   class CmsSearchService : public BaseService {
//    public:
//     explicit CmsSearchService(std::weak_ptr<ServiceDelegate> delegate = {});  // builds, with the same
//    private:                                                                  // delegate, the services
//     std::unique_ptr<CommonService> commonService_;                           // it uses
//   };
// A service is synchronous: screens call it on a global queue and apply its answers on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "core/db/VelkDBHelper.h"
#include "core/open/OpenService.h"
#include "platform/foundation/Value.h"

class BaseService : public OpenService {
 public:
  // Takes the process-wide store, which must be initialised first (ContractViolation otherwise).
  explicit BaseService(std::weak_ptr<ServiceDelegate> delegate = {});

  // The bytes of the main bundle's resource "<name>.<type>", or nullopt when there is none.
  static std::optional<pf::Data> dataWithResource(const std::string& name, const std::string& type);

 protected:
  const std::shared_ptr<VelkDBHelper> dbHelper;
};
