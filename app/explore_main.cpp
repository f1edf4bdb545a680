// paravib-explore: paravib with the teaching aids added through the seam. The same dialog, window
// and keys, plus a left click on the chart to choose (delta, epsilon), the shaded unstable regions
// with the multipliers of the chosen point, the phase plane (key 'p') and the picture export (key
// 'w'). Pictures go to the folder named by PARAVIB_PICTURE_FOLDER (the launcher sets it to the
// folder it was started from), else to the current folder. The options (control/explore_options.h)
// answer questions of the first dialog, open with the chart and choose the language.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/explore_hooks.h"
#include "app/window.h"
#include "control/console.h"
#include "control/experiments.h"
#include "control/explore_options.h"
#include "control/parameter_dialog.h"
#include "state/explore_state.h"
#include "state/explore_texts.h"
#include "state/program_hooks.h"
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

// Status 2 for a bad command line, as the options' users expect of a command.
constexpr int refused_status = 2;

// The experiment's number and title in the language chosen, before the first dialog.
void announce_experiment(int number) {
    const experiment& e = experiments[number - 1];
    const explore_texts& t = explore_text();
    prepare_console_output();
    std::printf(t.experiment_line, number, t.language == 'e' ? e.title_en : e.title_ja);
}

}  // namespace

int main(int argc, char** argv) {
    explore_options options;
    char message[256];
    switch (parse_explore_options(&argc, argv, &options, message, sizeof message)) {
        case options_verdict::run: break;
        case options_verdict::help: std::fputs(explore_usage, stdout); return 0;
        case options_verdict::version: std::fputs(explore_version_line, stdout); return 0;
        case options_verdict::refused: std::fprintf(stderr, "%s\n", message); return refused_status;
    }
    explore_language = options.language == 'e' ? &english_explore_texts : &japanese_explore_texts;
    install_explore_hooks();
    choose_picture_folder();
    if (options.experiment != 0) announce_experiment(options.experiment);
    command_key = 'k';
    hooks.answers = options.answers;
    parameter_dialog();
    hooks.answers = nullptr;  // the keys k, b, d and j ask every question again
    if (options.chart) {
        chart_pinned = true;
        command_key = 'a';
    }
    open_window(&argc, argv);
    return 0;
}
