// The Windows console: UTF-8 output for the Japanese text, single-key mode (line input and echo
// off, the counterpart of a non-canonical terminal), and their restoration at exit and on Ctrl-C.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <cstdio>
#include <cstdlib>

#include "control/console.h"
#include "control/console_platform.h"

namespace {

// Ends the console's input as Ctrl-D does on a terminal; Ctrl-Z is the Windows end of file.
constexpr int ctrl_d = 0x04;
constexpr int ctrl_z = 0x1a;

// Larger than all text the dialog prints between two flushes, so that the console never receives
// a UTF-8 sequence cut in two.
constexpr int output_buffer_size = 1 << 16;

// The console state found before it was changed; restored at exit and on Ctrl-C, which Windows
// reports on a thread of its own, hence the volatile flags.
UINT saved_output_code_page = 0;
volatile LONG output_code_page_changed = 0;
DWORD saved_input_mode = 0;
volatile LONG key_mode_active = 0;
bool restoration_installed = false;

void restore_console() {
    if (InterlockedExchange(&key_mode_active, 0) != 0) {
        SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), saved_input_mode);
    }
    if (InterlockedExchange(&output_code_page_changed, 0) != 0) {
        SetConsoleOutputCP(saved_output_code_page);
    }
}

// Restores the console, then lets the default handler end the process as it would have.
BOOL WINAPI on_console_break(DWORD) {
    restore_console();
    return FALSE;
}

void install_restoration() {
    if (restoration_installed) return;
    restoration_installed = true;
    std::atexit(restore_console);
    SetConsoleCtrlHandler(on_console_break, TRUE);
}

bool is_console(DWORD handle_id, DWORD* mode) {
    return GetConsoleMode(GetStdHandle(handle_id), mode) != 0;
}

bool output_prepared = false;

}  // namespace

void prepare_console_output() {
    if (output_prepared) return;
    output_prepared = true;
    DWORD mode = 0;
    if (!is_console(STD_OUTPUT_HANDLE, &mode)) return;
    install_restoration();
    saved_output_code_page = GetConsoleOutputCP();
    if (SetConsoleOutputCP(CP_UTF8)) InterlockedExchange(&output_code_page_changed, 1);
    // The console moves to the start of the next line on a bare line feed, so no CR is added.
    _setmode(_fileno(stdout), _O_BINARY);
    std::setvbuf(stdout, nullptr, _IOFBF, output_buffer_size);
}

void enter_key_mode() {
    DWORD mode = 0;
    if (!is_console(STD_INPUT_HANDLE, &mode)) return;
    install_restoration();
    saved_input_mode = mode;
    InterlockedExchange(&key_mode_active, 1);
    const DWORD key_mode = mode & ~static_cast<DWORD>(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
    if (!SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), key_mode)) {
        InterlockedExchange(&key_mode_active, 0);
    }
}

void leave_key_mode() {
    if (InterlockedExchange(&key_mode_active, 0) != 0) {
        SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), saved_input_mode);
    }
}

bool is_end_of_input_key(int c) { return key_mode_active != 0 && (c == ctrl_z || c == ctrl_d); }
