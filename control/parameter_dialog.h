// The console parameter dialog: the equation, the damping beta (and the stability boundaries that
// go with it), the point (delta, epsilon) and the initial values, then the key help and the reset
// of the running response and the view scales.
#pragma once

// Runs one pass of the dialog on the console, from the step that command_key names ('k' or any
// unknown key: the equation; 'b': beta; 'd': delta and epsilon; 'j': y0 and v0) to the end.
// Loads the stored boundaries for the Mathieu equation with a tabled beta, otherwise scans them
// (Mathieu or square wave); any other system kind leaves the six tables as they are. A number
// that cannot be read is refused with a message and its step asked again; the end of console
// input ends the process with status 0. A question that hooks.answers answers is printed with
// the answer's text after its prompt and not asked.
void parameter_dialog();
