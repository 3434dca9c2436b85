#pragma once

// Registers the survey screens, views and cells, their interface-file outlets and actions, and the
// screens ViewUtil makes by class name.
void registerQsmViewClasses();
