#pragma once
// Registers the micro-blog module's root, feeds, square and profile screens, their lists and rows, for
// interface files and for ViewUtil. Call once at start-up (tests call it in their set-up).

void registerBlgFeedViewClasses();
