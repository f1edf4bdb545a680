// Console input of the parameter dialog: the terminal mode of the single-key read and its
// restoration on every way out, the reading of numbers token by token, and the end of input.
#include "control/console.h"

#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// Longest token taken as a number; every decimal a person types fits, longer text is refused.
constexpr int max_number_length = 512;

// Signals that end the process by default and may arrive while the terminal is in key mode.
constexpr int ending_signals[] = {SIGINT, SIGTERM, SIGQUIT, SIGHUP};

// The terminal settings found before the key read, restored after it and on every way out, and
// those of the key read itself. key_mode_active is set before the terminal is switched and cleared
// after it is restored, so a signal in between at worst restores settings that are already in
// force; while the process is stopped in the key read it stays set.
struct termios saved_settings;
struct termios key_settings;
volatile std::sig_atomic_t key_mode_active = 0;
bool restoration_installed = false;

bool is_white_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void restore_terminal() {
    if (key_mode_active) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
        key_mode_active = 0;
    }
}

void set_handler(int signal_number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal_number, &action, nullptr);
}

// Raises the signal again with its default action, from inside its own handler.
void raise_with_default_action(int signal_number) {
    set_handler(signal_number, SIG_DFL);
    sigset_t this_signal;
    sigemptyset(&this_signal);
    sigaddset(&this_signal, signal_number);
    sigprocmask(SIG_UNBLOCK, &this_signal, nullptr);
    raise(signal_number);
}

// Sets key mode again when the key read is still waiting and the process owns the terminal (in
// the background, tcsetattr would only stop it again).
void resume_key_mode() {
    if (key_mode_active && tcgetpgrp(STDIN_FILENO) == getpgrp())
        tcsetattr(STDIN_FILENO, TCSANOW, &key_settings);
}

// Restores the terminal, then lets the signal end the process as it would have without us,
// so the parent sees the conventional status. Only async-signal-safe calls.
void on_ending_signal(int signal_number) {
    if (key_mode_active) tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    raise_with_default_action(signal_number);
}

// Ctrl-Z (SIGTSTP): the shell gets back the terminal as it was, then the process stops as it
// would have without us. Once it runs again (or if it was not stopped, as in an orphaned process
// group), the key read goes on waiting in key mode. Only async-signal-safe calls.
void on_stop_signal(int signal_number) {
    const int saved_errno = errno;
    if (key_mode_active) tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    raise_with_default_action(signal_number);
    set_handler(signal_number, on_stop_signal);
    resume_key_mode();
    errno = saved_errno;
}

// SIGCONT after any stop, SIGSTOP included, during which a shell may have reset the terminal.
void on_continue(int) {
    const int saved_errno = errno;
    resume_key_mode();
    errno = saved_errno;
}

bool is_ignored(int signal_number) {
    struct sigaction previous {};
    sigaction(signal_number, nullptr, &previous);
    return previous.sa_handler == SIG_IGN;
}

// Once, before the terminal is first switched: restoration at exit and on the ending signals, and
// the round trip of a stop. A signal that the parent set to be ignored stays ignored.
void install_restoration() {
    if (restoration_installed) return;
    restoration_installed = true;
    std::atexit(restore_terminal);
    for (int signal_number : ending_signals) {
        if (!is_ignored(signal_number)) set_handler(signal_number, on_ending_signal);
    }
    if (!is_ignored(SIGTSTP)) set_handler(SIGTSTP, on_stop_signal);
    set_handler(SIGCONT, on_continue);
}

// Non-canonical mode without echo when standard input is a terminal: one byte, no Enter needed.
// Signals from the keyboard (Ctrl-C) stay on.
void enter_key_mode() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved_settings) != 0) return;
    install_restoration();
    key_settings = saved_settings;
    key_settings.c_lflag &= ~(ICANON | ECHO);
    key_settings.c_cc[VMIN] = 1;
    key_settings.c_cc[VTIME] = 0;
    key_mode_active = 1;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &key_settings) != 0) key_mode_active = 0;
}

// True for the terminal's end-of-file character, which non-canonical mode hands over as a byte.
bool is_terminal_eof_key(int c) {
    cc_t eof_key = saved_settings.c_cc[VEOF];
    return key_mode_active && eof_key != _POSIX_VDISABLE && c == eof_key;
}

// Number of continuation bytes that follow a UTF-8 lead byte (0 for any other byte).
int continuation_count(int c) {
    if (c >= 0xC0 && c <= 0xDF) return 1;
    if (c >= 0xE0 && c <= 0xEF) return 2;
    if (c >= 0xF0 && c <= 0xF7) return 3;
    return 0;
}

// Takes the rest of a multi-byte UTF-8 character whose lead byte c was just read (a full-width
// letter typed as the key, say), so that none of its bytes is left for the next read. A byte that
// does not continue the character is put back.
void skip_rest_of_character(int c) {
    for (int i = continuation_count(c); i > 0; --i) {
        const int next = std::getchar();
        if (next == EOF) return;
        if ((next & 0xC0) != 0x80) {
            std::ungetc(next, stdin);
            return;
        }
    }
}

int next_byte_after_white_space() {
    int c = std::getchar();
    while (c != EOF && is_white_space(c)) c = std::getchar();
    return c;
}

void discard_rest_of_line() {
    int c = std::getchar();
    while (c != EOF && c != '\n') c = std::getchar();
    if (c == EOF) end_of_input();
}

// Reads one token (a run of bytes that are not white space) into text, leaving the white space
// that ends it in the input. Returns false when the token is longer than max_number_length or
// holds a NUL byte, which no number holds (and at which the conversion would stop unnoticed).
bool read_token(char* text) {
    int c = next_byte_after_white_space();
    if (c == EOF) end_of_input();
    int length = 0;
    bool fits = true;
    while (c != EOF && !is_white_space(c)) {
        if (c == '\0') {
            fits = false;
        } else if (length < max_number_length) {
            text[length++] = static_cast<char>(c);
        } else {
            fits = false;
        }
        c = std::getchar();
    }
    if (c != EOF) std::ungetc(c, stdin);
    text[length] = '\0';
    return fits;
}

bool convert_number(const char* text, double* value) {
    char* end = nullptr;
    double converted = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(converted)) return false;
    *value = converted;
    return true;
}

}  // namespace

char read_key() {
    std::fflush(stdout);
    enter_key_mode();
    int c = next_byte_after_white_space();
    bool eof_key = is_terminal_eof_key(c);
    // Still in key mode: the rest of the character has come with its first byte.
    if (!eof_key) skip_rest_of_character(c);
    restore_terminal();
    if (c == EOF || eof_key) end_of_input();
    return static_cast<char>(c);
}

bool read_numbers(int count, double* values) {
    std::fflush(stdout);
    double read[max_numbers_per_read];
    char text[max_number_length + 1];
    for (int i = 0; i < count && i < max_numbers_per_read; ++i) {
        if (!read_token(text) || !convert_number(text, &read[i])) {
            discard_rest_of_line();
            return false;
        }
    }
    for (int i = 0; i < count && i < max_numbers_per_read; ++i) values[i] = read[i];
    return true;
}

void end_of_input() {
    restore_terminal();
    std::fflush(stdout);
    std::exit(0);
}
