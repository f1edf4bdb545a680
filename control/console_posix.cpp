// Single-key mode of a POSIX terminal (termios, non-canonical without echo) and its restoration
// at exit, on the signals that end the process and across a stop (Ctrl-Z), so a user's shell never
// stays without echo.
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "control/console.h"
#include "control/console_platform.h"

namespace {

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

void restore_settings() {
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
    std::atexit(restore_settings);
    for (int signal_number : ending_signals) {
        if (!is_ignored(signal_number)) set_handler(signal_number, on_ending_signal);
    }
    if (!is_ignored(SIGTSTP)) set_handler(SIGTSTP, on_stop_signal);
    set_handler(SIGCONT, on_continue);
}

}  // namespace

// Non-canonical mode without echo: one byte, no Enter needed. Signals from the keyboard stay on.
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

bool is_end_of_input_key(int c) {
    cc_t eof_key = saved_settings.c_cc[VEOF];
    return key_mode_active && eof_key != _POSIX_VDISABLE && c == eof_key;
}

void leave_key_mode() { restore_settings(); }

// A terminal takes the UTF-8 bytes as they are.
void prepare_console_output() {}
