#pragma once
// Start-up registration of the question detail, the editors, the topic screens and the Q&A personal
// page: their runtime classes, the classes, outlets and actions their interface files name, and the
// screen factories ViewUtil makes them with. Safe to call more than once.

void registerAnsDetailViewClasses();
