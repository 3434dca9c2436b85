#pragma once
// Start-up registration of the Q&A module root, the question lists and the module's shared action
// bars: their runtime classes, the outlets and actions of their interface files and the screens
// ViewUtil makes by class name. Safe to call more than once.

void registerAnsListViewClasses();
