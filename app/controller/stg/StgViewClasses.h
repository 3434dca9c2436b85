#pragma once
// Registers the settings screens (settings, its rows, help, password change) with the runtime, the
// interface-file loader and ViewUtil. Call once at start-up.

void registerStgViewClasses();
