#pragma once
// Registers every screen, view and cell class of every module, with the toolkit's views, so that
// interface files and the screen registry can make them. Called once at start-up (and by tests that
// walk the whole app).
void registerScreenClasses();
