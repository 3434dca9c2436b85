#pragma once
// The demo's surveys (data: <dataFolder>/qsm/surveys.json), kept in memory while the server runs:
//   "/v1/qsm/survey/sync"          the surveys published since "lastUpdateTime" (all without it), each
//                                  with joined for the caller; times are days from the server's start
//   "/v1/qsm/survey/batchSubmit"   "surveys": the answers of open surveys the caller has not joined
//                                  yet; {"success": false} when one is closed, joined or names an
//                                  unknown question or option, and nothing is then kept
//   "/v1/qsm/survey/reminder"      how many open surveys the caller has not joined
//   "/v1/qsm/questionnaireuser/getAnsweredUsers", ".../getUnAnsweredUsers", ".../getSurveyRelUsers"
//                                  pages of participants among the users of open.json and whoever
//                                  has called, filtered by
//                                  "userName" (part of the login name)
//   GET /media/qsm/<name>.png      a picture of a question or an option; the data names them by path
//                                  ("fileUrl") and the surveys carry the stand-in's full address

#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

void installDemoQsm(OpenServer& server, const std::string& dataFolder);

}  // namespace devserver
