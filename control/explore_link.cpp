// Link queries of the explorer's state: numbers in the shortest of 15 or 17 significant digits
// that reads back exactly, so that a typed 0.1 stays 0.1 and a picked pair is kept to the bit.
#include "control/explore_link.h"

#include <cstdio>
#include <cstdlib>

#include "state/program_state.h"

namespace {

struct number_text {
    char text[32];
};

number_text shortest(double value) {
    number_text n;
    std::snprintf(n.text, sizeof n.text, "%.15g", value);
    if (std::strtod(n.text, nullptr) != value) std::snprintf(n.text, sizeof n.text, "%.17g", value);
    return n;
}

}  // namespace

const char* format_link_query(char* text, int capacity) {
    if (capacity < 1) return text;
    text[0] = '\0';
    if (system_kind != 'm' && system_kind != 'r') return text;
    std::snprintf(text, capacity, "system=%c&beta=%s&point=%s,%s&initial=%s,%s%s", system_kind,
                  shortest(beta).text, shortest(delta).text, shortest(epsilon).text,
                  shortest(y_init).text, shortest(v_init).text, chart_shown() ? "&chart=1" : "");
    return text;
}
