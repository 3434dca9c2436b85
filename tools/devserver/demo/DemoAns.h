#pragma once
// The demo's questions and answers (data: <dataFolder>/ans/qa.json), kept in memory while the server
// runs. Every method of "/v1/qa/question/", "/v1/qa/answer/", "/v1/qa/questiontopic/" and
// "/v1/qa/questionuser/getUserInfo" answers for the caller: favourites, followed topics, agreements
// and counts are worked out per user. Asking creates the topics a question names; only the author
// may edit a question or an answer; one agreement per user and answer. A question without a title,
// an answer without text, or an unknown key is refused with an error record; getByContent answers
// null for an unknown topic name.

#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

void installDemoAns(OpenServer& server, const std::string& dataFolder);

}  // namespace devserver
