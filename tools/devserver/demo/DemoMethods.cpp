#include "tools/devserver/demo/DemoMethods.h"

#include <cstdio>

#include "tools/devserver/demo/DemoAns.h"
#include "tools/devserver/demo/DemoBlg.h"
#include "tools/devserver/demo/DemoCms.h"
#include "tools/devserver/demo/DemoEms.h"
#include "tools/devserver/demo/DemoFiles.h"
#include "tools/devserver/demo/DemoLgn.h"
#include "tools/devserver/demo/DemoQsm.h"
#include "tools/devserver/demo/DemoStore.h"

namespace devserver {

// How a module adds its part of the demo, without touching another module's files:
//   - fixed answers: one file per method path, tools/devserver/open/demo/answers/<path>.json;
//   - data its methods read: files under tools/devserver/open/demo/<module>/;
//   - methods that compute their answers: tools/devserver/demo/Demo<Module>.{h,cpp} with
//     installDemo<Module>(OpenServer&, const std::string& dataFolder), called once below.
void installDemoMethods(OpenServer& server, const std::string& dataFolder) {
  installDemoFiles(server, dataFolder);
  installDemoLgn(server, dataFolder);
  installDemoEms(server, dataFolder);
  std::string problem;
  if (!installDemoCms(server, dataFolder, &problem))
    std::fprintf(stderr, "no course demo: %s\n", problem.c_str());
  installDemoQsm(server, dataFolder);
  installDemoAns(server, dataFolder);
  installDemoBlg(server, dataFolder);
  DemoStore::install(server);
}

}  // namespace devserver
