// The callbacks that the resource files name.
#pragma once

// Binds every callback name the resource files use to its function.
void RegisterProgramCallbacks();
