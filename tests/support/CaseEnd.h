#pragma once
// What a layer's test program ends after every case, before it waits for background work to stop:
// work one case leaves running (a picture load, say) holds the next case's virtual clock still.

#include <functional>

namespace test_support {

// Registers a hook at static initialisation; returns true so it can initialise a constant.
bool endEveryCaseWith(std::function<void()> hook);

}  // namespace test_support
