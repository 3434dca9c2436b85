#pragma once
// The demo's micro-blog (data: <dataFolder>/blg/blogs.json), kept in memory while the server runs.
// Every method under "/v1/wb/" answers for the caller: feeds of the caller's own, followed, collected,
// a user's or a topic's posts (newest first, content filters by substring), posts with a stored
// picture (imgFileId of the file store, see DemoFiles.h) and topics made from the typed topic names,
// reposts carrying their source, comments, follows of users and topics, collections and the badge
// count. A toggle that would change nothing is refused with the error code naming the state
// ("wb.blog.blogCollected", "wb.topic.cancelFollowed", ...).

#include <string>

#include "tools/devserver/open/OpenServer.h"

namespace devserver {

void installDemoBlg(OpenServer& server, const std::string& dataFolder);

}  // namespace devserver
