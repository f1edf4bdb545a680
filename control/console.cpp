// Console input of the parameter dialog: the single-key read, the reading of numbers token by
// token, and the end of input. The console modes themselves are set in console_posix.cpp or
// console_windows.cpp.
#include "control/console.h"

#include "control/console_platform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Longest token taken as a number; every decimal a person types fits, longer text is refused.
constexpr int max_number_length = 512;

bool is_white_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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

}  // namespace

bool number_from_text(const char* text, double* value) {
    for (int i = 0; text[i] != '\0'; ++i)
        if (i >= max_number_length || is_white_space(static_cast<unsigned char>(text[i])))
            return false;
    char* end = nullptr;
    double converted = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(converted)) return false;
    *value = converted;
    return true;
}

char read_key() {
    std::fflush(stdout);
    enter_key_mode();
    int c = next_byte_after_white_space();
    bool eof_key = is_end_of_input_key(c);
    // Still in key mode: the rest of the character has come with its first byte.
    if (!eof_key) skip_rest_of_character(c);
    leave_key_mode();
    if (c == EOF || eof_key) end_of_input();
    return static_cast<char>(c);
}

bool read_numbers(int count, double* values) {
    std::fflush(stdout);
    double read[max_numbers_per_read];
    char text[max_number_length + 1];
    for (int i = 0; i < count && i < max_numbers_per_read; ++i) {
        if (!read_token(text) || !number_from_text(text, &read[i])) {
            discard_rest_of_line();
            return false;
        }
    }
    for (int i = 0; i < count && i < max_numbers_per_read; ++i) values[i] = read[i];
    return true;
}

void end_of_input() {
    leave_key_mode();
    std::fflush(stdout);
    std::exit(0);
}
