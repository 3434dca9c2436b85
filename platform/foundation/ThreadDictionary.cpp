#include "platform/foundation/ThreadDictionary.h"

namespace pf {

Dictionary& threadDictionary() {
  thread_local Dictionary dictionary;
  return dictionary;
}

}  // namespace pf
