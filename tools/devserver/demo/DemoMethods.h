#pragma once
// The computed methods of the demo the stand-in serves with --open (the data folder's static answers
// are installed by OpenDataFolder).

#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

// Installs every module's demo methods; dataFolder is the folder of open.json.
void installDemoMethods(OpenServer& server, const std::string& dataFolder);

}  // namespace devserver
