// The part of the console that differs between a POSIX terminal and the Windows console: the
// mode of the single-key read, its restoration on every way out, and the byte that ends input.
// console.cpp reads every byte through stdin's stdio buffer on both.
#pragma once

// When standard input is an interactive console, switches it to reading single bytes without
// echo and without waiting for Enter; keyboard interrupts (Ctrl-C) stay on. Otherwise does nothing.
void enter_key_mode();

// Restores the console mode found by enter_key_mode, if it is still switched.
void leave_key_mode();

// True when c, read in key mode, is the console's end-of-file key (Ctrl-D on a POSIX terminal,
// Ctrl-Z or Ctrl-D on the Windows console), which key mode hands over as a plain byte.
bool is_end_of_input_key(int c);
