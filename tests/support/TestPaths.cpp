#include "support/TestPaths.h"

namespace marlune_test {

const char* fixturesDir() { return MARLUNE_TEST_FIXTURES; }
const char* appResourcesDir() { return MARLUNE_TEST_APP_RESOURCES; }
const char* demoDataDir() { return MARLUNE_TEST_DEMO_DATA; }
const char* bundleDir() { return MARLUNE_TEST_BUNDLE_DIR; }

}  // namespace marlune_test
