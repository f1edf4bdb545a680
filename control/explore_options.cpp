// The explorer's options, read in one pass over the command line; the answers of an experiment
// fill in whatever the explicit options leave open.
#include "control/explore_options.h"

#include <cstdio>
#include <cstring>

#include "control/console.h"
#include "control/experiments.h"

const char* const explore_usage =
    "Usage: paravib-explore [OPTION]...\n"
    "The teaching program of the damped Mathieu equation y'' + 2 beta y' + (delta + eps cos t) y = 0\n"
    "and its square-wave counterpart. The options answer the questions of the first dialog on the\n"
    "console, which then asks only the others; the keys k, b, d and j in the window ask again.\n"
    "  --system m|r           the equation: m Mathieu, r square wave\n"
    "  --beta B               the damping beta\n"
    "  --point DELTA EPSILON  the point of the stability chart\n"
    "  --initial Y0 V0        the initial displacement and velocity\n"
    "  --experiment N         all four answers from experiment N of the worksheet (experiments.tsv);\n"
    "                         an option given as well wins\n"
    "  --chart                open with the stability chart shown\n"
    "  --lang ja|en           the language of the console texts (Japanese without the option)\n"
    "  --help                 print this text\n"
    "  --version              print the version\n"
    "A bad option or value ends the program with status 2 before any window opens.\n";

const char* const explore_version_line = "paravib-explore " PARAVIB_VERSION "\n";

namespace {

// An option of GLUT's, kept for glutInit, and how many arguments follow it.
struct glut_option {
    const char* name;
    int arguments;
};
constexpr glut_option glut_options[] = {{"-display", 1},  {"-geometry", 1}, {"-direct", 0},
                                        {"-indirect", 0}, {"-iconic", 0},   {"-gldebug", 0},
                                        {"-sync", 0}};

// Longest part of an argument quoted in a message.
constexpr int quoted_length = 60;

struct parse_state {
    int count;
    char** arguments;
    int next;
    char* message;
    int capacity;
};

// what ends with the words that lead to the quoted argument ("..., not ", "unknown option ").
bool refuse(parse_state& p, const char* what, const char* argument) {
    std::snprintf(p.message, p.capacity, "paravib-explore: %s'%.*s' (see paravib-explore --help)",
                  what, quoted_length, argument);
    return false;
}

// The next argument, or nullptr with the message set when the command line ends.
const char* value_of(parse_state& p, const char* option) {
    if (p.next < p.count) return p.arguments[p.next++];
    std::snprintf(p.message, p.capacity,
                  "paravib-explore: %s needs a value (see paravib-explore --help)", option);
    return nullptr;
}

// count numbers after option into the answer, with their text as a user would type them.
bool take_numbers(parse_state& p, const char* option, int count, dialog_answer& answer) {
    dialog_answer taken = {};
    for (int i = 0; i < count; ++i) {
        const char* text = value_of(p, option);
        if (text == nullptr) return false;
        if (!number_from_text(text, &taken.values[i])) {
            char what[64];
            std::snprintf(what, sizeof what, "%s needs %s, not ", option,
                          count == 1 ? "a finite number" : "two finite numbers");
            return refuse(p, what, text);
        }
        const std::size_t used = std::strlen(taken.text);
        std::snprintf(taken.text + used, sizeof taken.text - used, "%s%s", i > 0 ? " " : "", text);
    }
    taken.given = true;
    answer = taken;
    return true;
}

bool take_system(parse_state& p, dialog_answer& answer) {
    const char* text = value_of(p, "--system");
    if (text == nullptr) return false;
    if (std::strcmp(text, "m") != 0 && std::strcmp(text, "r") != 0)
        return refuse(p, "--system takes m or r, not ", text);
    answer = {};
    answer.given = true;
    answer.key = text[0];
    return true;
}

bool take_language(parse_state& p, char& language) {
    const char* text = value_of(p, "--lang");
    if (text == nullptr) return false;
    if (std::strcmp(text, "ja") == 0) {
        language = 'j';
    } else if (std::strcmp(text, "en") == 0) {
        language = 'e';
    } else {
        return refuse(p, "--lang takes ja or en, not ", text);
    }
    return true;
}

bool take_experiment(parse_state& p, int& number) {
    const char* text = value_of(p, "--experiment");
    if (text == nullptr) return false;
    int value = 0;
    bool digits = text[0] != '\0';
    for (const char* c = text; *c != '\0' && digits; ++c) {
        digits = *c >= '0' && *c <= '9' && value <= experiment_count;
        value = 10 * value + (*c - '0');
    }
    if (!digits || value < 1 || value > experiment_count) {
        char what[64];
        std::snprintf(what, sizeof what, "--experiment takes a number from 1 to %d, not ",
                      experiment_count);
        return refuse(p, what, text);
    }
    number = value;
    return true;
}

// Keeps a GLUT option with its arguments at argv[*kept ...]; false when argument is none.
bool keep_glut_option(parse_state& p, const char* argument, int* kept) {
    for (const glut_option& g : glut_options) {
        if (std::strcmp(argument, g.name) != 0) continue;
        p.arguments[(*kept)++] = p.arguments[p.next - 1];
        for (int i = 0; i < g.arguments; ++i) {
            const char* value = value_of(p, argument);
            if (value == nullptr) return false;
            p.arguments[(*kept)++] = p.arguments[p.next - 1];
        }
        return true;
    }
    return refuse(p, "unknown option ", argument);
}

// The experiment's answers to the questions no explicit option answered.
void fill_from_experiment(explore_options& o) {
    const experiment& e = experiments[o.experiment - 1];
    const char* numbers[3][2] = {{e.beta, nullptr}, {e.delta, e.epsilon}, {e.y0, e.v0}};
    if (!o.answers[0].given) o.answers[0] = {true, e.system, {0.0, 0.0}, ""};
    for (int q = 1; q < 4; ++q) {
        dialog_answer& a = o.answers[q];
        if (a.given) continue;
        a = {};
        a.given = true;
        for (int i = 0; i < 2 && numbers[q - 1][i] != nullptr; ++i) {
            number_from_text(numbers[q - 1][i], &a.values[i]);
            const std::size_t used = std::strlen(a.text);
            std::snprintf(a.text + used, sizeof a.text - used, "%s%s", i > 0 ? " " : "",
                          numbers[q - 1][i]);
        }
    }
}

}  // namespace

options_verdict parse_explore_options(int* argc, char** argv, explore_options* options,
                                      char* message, int capacity) {
    explore_options o = {};
    o.language = 'j';
    parse_state p = {*argc, argv, 1, message, capacity};
    int kept = 1;
    bool fine = true;
    while (fine && p.next < p.count) {
        const char* a = argv[p.next++];
        if (std::strcmp(a, "--help") == 0) return options_verdict::help;
        if (std::strcmp(a, "--version") == 0) return options_verdict::version;
        if (std::strcmp(a, "--system") == 0) {
            fine = take_system(p, o.answers[0]);
        } else if (std::strcmp(a, "--beta") == 0) {
            fine = take_numbers(p, a, 1, o.answers[1]);
        } else if (std::strcmp(a, "--point") == 0) {
            fine = take_numbers(p, a, 2, o.answers[2]);
        } else if (std::strcmp(a, "--initial") == 0) {
            fine = take_numbers(p, a, 2, o.answers[3]);
        } else if (std::strcmp(a, "--experiment") == 0) {
            fine = take_experiment(p, o.experiment);
        } else if (std::strcmp(a, "--lang") == 0) {
            fine = take_language(p, o.language);
        } else if (std::strcmp(a, "--chart") == 0) {
            o.chart = true;
        } else {
            fine = keep_glut_option(p, a, &kept);
        }
    }
    if (!fine) return options_verdict::refused;
    if (o.experiment != 0) fill_from_experiment(o);
    *argc = kept;
    argv[kept] = nullptr;
    *options = o;
    return options_verdict::run;
}
