#include "platform/foundation/Uuid.h"

#include <uuid/uuid.h>

#include <algorithm>

namespace pf {

static_assert(sizeof(uuid_t) == 16);

Uuid Uuid::random() {
  Uuid uuid;
  uuid_t raw;
  uuid_generate_random(raw);
  std::copy(std::begin(raw), std::end(raw), uuid.bytes_.begin());
  return uuid;
}

std::string Uuid::text() const {
  uuid_t raw;
  std::copy(bytes_.begin(), bytes_.end(), std::begin(raw));
  char out[37];
  uuid_unparse_upper(raw, out);
  return out;
}

std::string Uuid::dashless() const {
  std::string out = text();
  std::erase(out, '-');
  return out;
}

}  // namespace pf
