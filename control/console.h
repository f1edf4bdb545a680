// Console input of the parameter dialog: the single-key read (non-canonical terminal mode without
// echo, active only while it waits), white-space separated numbers that may be rejected and asked
// again, and the clean end of the process when input runs out.
#pragma once

// Most numbers one read takes (a pair such as delta and epsilon).
constexpr int max_numbers_per_read = 2;

// Flushes stdout, then returns the next byte of standard input that is not white space (space,
// tab, line feed, vertical tab, form feed, carriage return), read through stdin's stdio buffer
// like the numbers, so typed and piped answers behave alike. The rest of a multi-byte UTF-8
// character (a full-width letter) is read with its first byte, which is the one returned. When
// standard input is a terminal, it is in non-canonical mode without echo during this read only;
// its settings are restored before the function returns, at exit, and on SIGINT, SIGTERM, SIGQUIT
// and SIGHUP, which then end the process with their default action. A stop (Ctrl-Z) restores them
// too before the process stops, and key mode comes back when it continues in the foreground. (On
// Windows: line input and echo off, restored at exit and on Ctrl-C or Ctrl-Break.) End of input,
// a read error, or the terminal's end-of-file key (Ctrl-D; on Windows Ctrl-Z or Ctrl-D), which
// that mode delivers as a byte, ends the process through end_of_input.
char read_key();

// Flushes stdout, then reads count (1 ... max_numbers_per_read) numbers into values. A number is
// a white-space delimited token without NUL bytes that strtod converts entirely to a finite double
// (decimal, exponent or hexadecimal form; NaN, infinities and overflow are refused; an underflow
// gives the nearest double). Leading white space, line ends included, is skipped, so a pair may
// stand on one line or on two; whatever follows the last number stays in the input for the next
// read. Returns true when all count numbers were read. Otherwise discards the rest of the line of
// the first unreadable token, leaves values unwritten and returns false. End of input ends the
// process.
bool read_numbers(int count, double* values);

// Whether text is a number as read_numbers takes it: at most 512 bytes, no white space or other
// bytes around it, converted entirely by strtod to a finite double, which goes to value. The
// dialog's answers given on the command line are checked by the same rule.
bool number_from_text(const char* text, double* value);

// Makes the console ready for the dialog's UTF-8 text before its first output; later calls do
// nothing. A POSIX terminal takes the bytes as they are. A Windows console is switched to the
// UTF-8 code page (the previous one comes back at exit and on Ctrl-C) and stdout to a binary,
// fully buffered stream, so that each flush hands the console whole UTF-8 sequences.
void prepare_console_output();

// Restores the terminal, flushes stdout and ends the process with status 0.
[[noreturn]] void end_of_input();
