# Writes the C++ table of the experiments from docs/experiments.tsv, so that the table stays the
# one place they are written down. Usage: cmake -DTABLE=experiments.tsv -DOUT=file.cpp -P this
file(STRINGS "${TABLE}" lines ENCODING UTF-8)
list(POP_FRONT lines header)
set(rows "")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  string(REPLACE "\\" "\\\\" line "${line}")
  string(REPLACE "\"" "\\\"" line "${line}")
  string(REPLACE "\t" ";" fields "${line}")
  list(LENGTH fields count)
  if(NOT count EQUAL 11)
    message(FATAL_ERROR "${TABLE}: a row of ${count} fields, not 11: ${line}")
  endif()
  list(GET fields 0 number)
  list(GET fields 1 system)
  set(row "    {${number}, '${system}'")
  foreach(i 2 3 4 5 6 9 10)
    list(GET fields ${i} field)
    string(APPEND row ", \"${field}\"")
  endforeach()
  string(APPEND rows "${row}},\n")
endforeach()
file(WRITE "${OUT}.new" "// Made from docs/experiments.tsv by cmake/experiments_table.cmake at build time.
#include \"control/experiments.h\"

const experiment experiments[] = {
${rows}};
const int experiment_count = sizeof experiments / sizeof experiments[0];
")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
