// The numerical constants that several floors share, each written once: the period of the
// excitation and its half as the fifteen-digit literals the program uses, the coarser pi of the
// discs, and the epsilon grid of every scan and boundary file.
#pragma once

// Half period (pi) and period (2 pi) of the excitation, in the equation of motion, the square-wave
// function and the response view's time grid.
constexpr double pi = 3.14159265358979;
constexpr double two_pi = 6.28318530717959;

// pi as the discs (masses, supports, chart dots) use it for their vertex angles.
constexpr double disc_pi = 3.1415926536;

// Epsilon intervals of every scan the dialog makes and of every stored table: epsilon 0 ... 10 in
// steps of 0.02.
constexpr int epsilon_intervals = 500;
