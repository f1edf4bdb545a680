// paravib-explore on paravib's window and dialog: the explorer's hooks in the one seam.
#pragma once

// Sets every hook of state/program_hooks.h to the explorer's: before each frame the line width on
// show is noted and the shading and the readout are brought up to date; the shading lies under the
// picture while the chart is shown, the phase plane takes the mass's place while
// phase_plane_shown, the readout lies over the chart; the keys 'p' and 'w' and the left click on
// the chart; the help lines of those keys and the click; the console texts and caption of the
// language explore_text() holds (answers to the dialog are set apart, by the explorer's main).
void install_explore_hooks();
