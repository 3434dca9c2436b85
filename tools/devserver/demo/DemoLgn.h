#pragma once
// The sign-in side of the demo (data: <dataFolder>/lgn/users.json: corporations, module menus and the
// users' profiles, each naming its menu; a profile with "signInPassword" adds a user beside those of
// open.json: a visitor with only app-square entries, a guest with no module, a user of a second
// corporation):
//   "/v1/uc/user/get"                    the caller's profile, with the corporation's name and the
//                                        lower-case MD5 hex of the present password
//   "/v1/uc/user/modifyUserPassword"     "loginName" (the caller's), "psw", "oldPsw": {"success": true}
//                                        when the old password was right; later sign-ins need the new one
//   "/v1/cs/usermobileapp/getMobileApp"  the caller's module menu ("platForm" is not looked at); icons given
//                                        as a path ("/media/lgn/app/<code>.png") become its address here
//   GET /media/lgn/face/<userId>.png     a profile's photo (a profile's "facePath" becomes its "faceUrl")
//   GET /media/lgn/app/<appCode>.png     an application's icon

#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

void installDemoLgn(OpenServer& server, const std::string& dataFolder);

}  // namespace devserver
