// One frame of the running response: ten integrator steps from the live state, then one new
// sample in the response history. The display callback calls it before it draws.
#pragma once

// Advances (y_now, v_now, t_now) by steps_per_frame steps of time_step, moves sample_index on
// (a new sweep starts at 0 after entry 1 / time_scale and after the last history entry) and
// records y, v and K there. For the square wave t_now is folded back by one period once it
// passes a full period; for a system kind other than 'm' and 'r' the K sample is left as it was.
void advance_frame();
