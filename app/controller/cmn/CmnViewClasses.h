#pragma once
// Start-up registration of the common screen bases and views: the runtime classes the view log looks
// for, the classes, outlets and actions interface files may name, and the navigation bar class of
// every screen. Safe to call more than once.

void registerCmnViewClasses();
