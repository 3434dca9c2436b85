#pragma once
// The course module of the stand-in's open interface, over the demo catalogue of a JSON file
// (CourseCatalogue): categories, catalogue pages and searches, promoted courses, courses and their
// units, selecting and giving up courses, study rights, the pass rate and badge count, the sync of
// courses and study records, study records by period, and course comments with replies. It also
// serves the catalogue's media under "/media/cms/": unit and course videos (ranges answered, so
// downloads resume), lecture pages and cover pictures.
//
// Every method checks that the call names each of its parameters (a JSON text, "null" for none) and
// refuses one that does not with "open.param.missing"; unknown courses and comments are refused with
// error records too.

#include <functional>
#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

// Reads dataFolder/cms/catalogue.json and registers the methods and media routes on the server, which
// keeps what they need alive; false with *problem when the catalogue cannot be read. clock: seconds
// since 1970, the system clock when empty.
bool installDemoCms(OpenServer& server, const std::string& dataFolder, std::string* problem,
                    std::function<double()> clock = {});

}  // namespace devserver
