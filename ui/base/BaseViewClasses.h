#pragma once
// Makes the keyboard-aware base views known to interface files. Call at start-up.

void registerBaseViewClasses();
