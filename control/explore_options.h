// The command line of paravib-explore: options that answer the questions of the first dialog
// (one by one or all at once from an experiment of the worksheet), open with the chart shown and
// choose the language; --help and --version. GLUT's own options are handed on to glutInit.
#pragma once

#include "state/program_hooks.h"

// What the command line asks for. An option given explicitly wins over the experiment's value for
// the same question, whatever their order; the last of two equal options holds.
struct explore_options {
    dialog_answer answers[4];  // questions (1) ... (4): system, beta, (delta, epsilon), (y0, v0)
    bool chart;                // --chart: the first picture shows the stability chart
    char language;             // --lang: 'j' Japanese (without the option) or 'e' English
    int experiment;            // --experiment N: N, else 0
};

enum class options_verdict {
    run,      // start the program with options
    help,     // print explore_usage and end with status 0
    version,  // print explore_version_line and end with status 0
    refused,  // print the message and end with status 2, before any window
};

// The text of --help and the line of --version, both ending in a line feed.
extern const char* const explore_usage;
extern const char* const explore_version_line;

// Reads argv[1] ... argv[*argc - 1] into options. Each number is checked as the dialog checks a
// typed one (number_from_text). GLUT's options (-display NAME, -geometry WxH+X+Y, -direct,
// -indirect, -iconic, -gldebug, -sync) stay in argv, in their order after the program's name,
// and *argc counts what stays; any other argument is refused. On refused, message (capacity
// bytes) holds one line without its line feed that names the argument and what was expected.
options_verdict parse_explore_options(int* argc, char** argv, explore_options* options,
                                      char* message, int capacity);
