#include "core/http/ResponseSizeLimit.h"

#include "core/http/HttpRequestError.h"
#include "platform/foundation/Format.h"

pf::ErrorPtr ResponseSizeLimit::exceededError(std::uint64_t limit) {
  return pf::Error::make(NetworkRequestErrorDomain, static_cast<long>(HttpRequestErrorCode::ResponseTooLarge),
                         pf::format("The response is larger than the %llu bytes that may be kept in memory",
                                    static_cast<unsigned long long>(limit)));
}
