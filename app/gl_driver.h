// The OpenGL driver module as a leak checker sees it: kept loaded to the end of the process and
// named as the owner of the memory it keeps.
#pragma once

// Keeps every OpenGL driver module that is loaded now (Mesa's "*_dri.so") in memory until the
// process ends. Call after the window exists. Mesa unloads its driver at exit, before the leak
// checker of a sanitizer build runs; the memory the driver kept would then be reported against an
// unknown module that no suppression can name. Kept loaded, the driver is named, and its blocks are
// left out by module (see the default suppressions); leaks of paravib's own code are still
// reported. In other builds nothing else changes.
void keep_gl_driver_loaded();
