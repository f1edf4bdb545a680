// The seam's hooks, all empty until a program's main sets them.
#include "state/program_hooks.h"

program_hooks hooks = {};
