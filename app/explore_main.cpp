// paravib-explore: paravib with the teaching aids added through the seam. The same dialog, window
// and keys, plus a left click on the chart to choose (delta, epsilon), the shaded unstable regions
// with the multipliers of the chosen point, the phase plane (key 'p') and the picture export (key
// 'w'). Pictures go to the folder named by PARAVIB_PICTURE_FOLDER (the launcher sets it to the
// folder it was started from), else to the current folder.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/explore_hooks.h"
#include "app/window.h"
#include "control/parameter_dialog.h"
#include "state/explore_state.h"
#include "state/program_state.h"

namespace {

void choose_picture_folder() {
    const char* named = std::getenv("PARAVIB_PICTURE_FOLDER");
    if (named != nullptr && named[0] != '\0') {
        if (std::strlen(named) < sizeof picture_folder) {
            std::strcpy(picture_folder, named);
            return;
        }
        std::fprintf(stderr,
                     "paravib-explore: PARAVIB_PICTURE_FOLDER is too long; no picture can "
                     "be written\n");
        picture_folder_usable = false;
        return;
    }
    if (getcwd(picture_folder, sizeof picture_folder) == nullptr) picture_folder[0] = '\0';
}

}  // namespace

int main(int argc, char** argv) {
    install_explore_hooks();
    choose_picture_folder();
    command_key = 'k';
    parameter_dialog();
    open_window(&argc, argv);
    return 0;
}
