// paravib: the console dialog first, then the graphics window and its main loop, which never
// returns; from then on the display, reshape and keyboard callbacks do all the work.
#include "app/window.h"
#include "control/parameter_dialog.h"
#include "state/program_state.h"

int main(int argc, char** argv) {
    command_key = 'k';
    parameter_dialog();
    open_window(&argc, argv);
    return 0;
}
