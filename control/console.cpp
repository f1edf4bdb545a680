// Console input of the parameter dialog: the terminal mode of the single-key read and its
// restoration on every way out, the reading of numbers token by token, and the end of input.
#include "control/console.h"

#include <termios.h>
#include <unistd.h>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// Longest token taken as a number; every decimal a person types fits, longer text is refused.
constexpr int max_number_length = 512;

// Signals that end the process by default and may arrive while the terminal is in key mode.
constexpr int ending_signals[] = {SIGINT, SIGTERM, SIGQUIT, SIGHUP};

// The terminal settings found before the key read, restored after it and on every way out.
// key_mode_active is set before the terminal is switched and cleared after it is restored, so a
// signal in between at worst restores settings that are already in force.
struct termios saved_settings;
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

// Restores the terminal, then lets the signal end the process as it would have without us,
// so the parent sees the conventional status. Only async-signal-safe calls.
void on_ending_signal(int signal_number) {
    if (key_mode_active) tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal_number, &default_action, nullptr);
    sigset_t this_signal;
    sigemptyset(&this_signal);
    sigaddset(&this_signal, signal_number);
    sigprocmask(SIG_UNBLOCK, &this_signal, nullptr);
    raise(signal_number);
}

// Once, before the terminal is first switched: restoration at exit and on the ending signals.
// A signal that the parent set to be ignored stays ignored.
void install_restoration() {
    if (restoration_installed) return;
    restoration_installed = true;
    std::atexit(restore_terminal);
    for (int signal_number : ending_signals) {
        struct sigaction previous {};
        sigaction(signal_number, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = on_ending_signal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(signal_number, &action, nullptr);
    }
}

// Non-canonical mode without echo when standard input is a terminal: one byte, no Enter needed.
// Signals from the keyboard (Ctrl-C) stay on.
void enter_key_mode() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved_settings) != 0) return;
    install_restoration();
    struct termios key_settings = saved_settings;
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
// that ends it in the input. Returns false when the token is longer than max_number_length.
bool read_token(char* text) {
    int c = next_byte_after_white_space();
    if (c == EOF) end_of_input();
    int length = 0;
    bool fits = true;
    while (c != EOF && !is_white_space(c)) {
        if (length < max_number_length) {
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
