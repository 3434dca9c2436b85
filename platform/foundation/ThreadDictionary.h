#pragma once
// Per-thread storage by key, living as long as its thread (the platform's thread dictionary).

#include "platform/foundation/Value.h"

namespace pf {

// The calling thread's own dictionary; made empty on first use on each thread.
Dictionary& threadDictionary();

}  // namespace pf
