#pragma once
// Registers the course module's browsing screens (root and tabs, course lists and rows, categories,
// search) with the runtime, the interface-file loader and ViewUtil.

void registerCmsBrowseViewClasses();
