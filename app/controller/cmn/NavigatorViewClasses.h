#pragma once
// Start-up registration of the module menu, its row and the app square: their runtime classes, what
// their interface files may name, and the screen factories in ViewUtil. Safe to call more than once.

void registerNavigatorViewClasses();
