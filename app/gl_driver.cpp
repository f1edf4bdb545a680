// Keeping the OpenGL driver module loaded, and the leak checker's default suppressions that name
// it and Mesa's GLX library, which keep their context memory to the end of the process.
#include "app/gl_driver.h"

#include <dlfcn.h>
#include <link.h>
#include <cstring>

namespace {

// Promotes an already loaded driver module to one that dlclose never unloads.
int keep_if_driver(struct dl_phdr_info* info, std::size_t, void*) {
    if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "_dri.so") != nullptr) {
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}

}  // namespace

void keep_gl_driver_loaded() { dl_iterate_phdr(keep_if_driver, nullptr); }

// Read by the leak checker of a sanitizer build; ignored in other builds.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:_dri.so\nleak:libGLX_mesa.so\n";
}
