#pragma once
// Start-up registration of the study screens (players, download manager, course download tab): their
// runtime classes, the classes, outlets and actions their interface files name, and the screen
// factories ViewUtil makes them with. Safe to call more than once.

void registerCmsPlayerViewClasses();
