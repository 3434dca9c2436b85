#pragma once
// Remote course calls over the real HTTP engine to the stand-in serving the demo catalogue, signed in
// as the demo learner (U0001), whose seeded records are CRS-001 (assigned), CRS-004 (selected by
// himself) and CRS-007 (assigned).

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/model/AppClasses.h"
#include "tests/core/open/OpenServerFixture.h"
#include "tools/devserver/demo/DemoCms.h"

class CourseDemoFixture : public OpenServerFixture {
 protected:
  void SetUp() override {
    OpenServerFixture::SetUp();
    registerAppClasses();
    server.addUser({"demo", "learner", "learner123", "U0001"});
    std::string problem;
    ASSERT_TRUE(devserver::installDemoCms(server, MARLUNE_DEMO_DATA, &problem)) << problem;
    ServiceManager::ParamDic params{{"loginName", openValue("learner")},
                                    {"password", openValue("learner123")},
                                    {"corpCode", openValue("demo")}};
    ASSERT_TRUE(ServiceManager::performRemoteMethod(kLogin, params, "NSString", delegate).isString());
  }

  // The parameter names of the last call the server saw on the path.
  std::set<std::string> parameterNames(const std::string& path) const {
    const auto calls = server.calls(path);
    std::set<std::string> names;
    if (calls.empty()) return {"(no call)"};
    for (const auto& [name, text] : calls.back().parameters) names.insert(name);
    return names;
  }
  std::string parameterText(const std::string& path, const std::string& name) const {
    const auto calls = server.calls(path);
    if (calls.empty() || !calls.back().parameters.contains(name)) return "(none)";
    return calls.back().parameters.at(name);
  }

  // The paths of the failures the delegate heard of so far.
  std::vector<std::string> reportedPaths() {
    drainMainQueue();
    std::vector<std::string> paths;
    for (const auto& report : *delegate->reports) paths.push_back(report.requestUri);
    delegate->reports->clear();
    return paths;
  }
};
