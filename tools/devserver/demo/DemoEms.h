#pragma once
// The exam module of the demo: the exams of <dataFolder>/ems/exams.json, each with one paper, taken
// and marked per user while the server runs. Exam windows are given in days from the server's start,
// so the demo always has an open exam, one to come and one past.
//   "/v1/ems/exam/loadExamsAfter"       {"serverTime", "results": the user's exams and their state}
//   "/v1/ems/exam/myExamReminder"       how many exams the user may enter now
//   "/v1/ems/exam/judgingExamReminder"  how many submitted exams wait to be marked
//   "/v1/ems/paper/loadPapers"          [the paper of "examIds"]; entering it starts an attempt
//   "/v1/ems/paper/getLastPaper"        the paper of "examId" with the last submitted answers and marks
//   "/v1/ems/paper/batchSubmit"         marks each of "papers" against the right answers kept here
//                                       (never the client's) and answers one result per paper
//   GET /media/ems/<name>.png           a picture of a question or an option; the data names them by
//                                       path and the papers carry the stand-in's full address

#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

void installDemoEms(OpenServer& server, const std::string& dataFolder);

}  // namespace devserver
