// Time response: the right-hand side of y'' + 2 beta y' + K(t) y = 0 as a first-order system and
// one fixed step of the fourth-order Runge-Kutta-Gill method.
#pragma once

#include "state/numbers.h"

// Half period and period of the excitation.
constexpr double half_period = pi;
constexpr double full_period = two_pi;

// K(t) of the chosen system: 'm' eps cos t + delta; 'r' delta + eps before half a period, delta - eps
// after (t folded once by a period when above it); any other kind the unexcited delta.
double stiffness(double t);

// Derivative of component i (0: displacement, 1: velocity) of state x at time t, reading
// system_kind, two_beta, delta and epsilon from the program state at every call.
double equation_of_motion(int i, double t, const double* x);

// One Runge-Kutta-Gill step of length h from state x_in at time t into x_out (n components).
// x_in is only read; x_out may be the caller's live state.
void rkg_step(double t, double h, const double* x_in, double* x_out, int n);
