// The explorer's present state as the query of a link that opens the explorer there: the web
// page's "link to this point", whose parameters the page hands to the program as its options.
#pragma once

// Writes "system=m&beta=0.1&point=1,1.2&initial=1,0" (and "&chart=1" while the chart is shown)
// into text (capacity bytes) and returns it; each number in the fewest digits that read back as
// the same double. Empty before an equation is chosen.
const char* format_link_query(char* text, int capacity);
