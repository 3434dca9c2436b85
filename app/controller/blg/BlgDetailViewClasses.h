#pragma once
// Start-up registration of the blog detail, editor, comment and topic screens: their runtime classes,
// the classes, outlets and actions their interface files name, and the screen factories ViewUtil
// makes them with. Safe to call more than once.

void registerBlgDetailViewClasses();
