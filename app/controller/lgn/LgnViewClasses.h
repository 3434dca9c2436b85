#pragma once
// Start-up registration of the sign-in screens: their runtime classes, what their interface files may
// name (outlets and actions), and their screen factories in ViewUtil. Safe to call more than once.

void registerLgnViewClasses();
