#pragma once
// Where the tests find their fixtures, the app's resources, the demo data and the assembled bundle.
// The folders are compiled into one small library (TestPaths.cpp) rather than into every test object:
// a test object naming an absolute path would miss the compiler cache in a clone at another path.
// Every test file sees this header (the test programs force-include it).

namespace marlune_test {
const char* fixturesDir();
const char* appResourcesDir();
const char* demoDataDir();
const char* bundleDir();
}  // namespace marlune_test

#define MARLUNE_FIXTURES (::marlune_test::fixturesDir())
#define MARLUNE_APP_RESOURCES (::marlune_test::appResourcesDir())
#define MARLUNE_DEMO_DATA (::marlune_test::demoDataDir())
#define MARLUNE_BUNDLE_DIR (::marlune_test::bundleDir())
