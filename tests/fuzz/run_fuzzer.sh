#!/usr/bin/env bash
# Builds the boundary-file reader's fuzz target with clang's libFuzzer (with address and
# undefined-behaviour checks) in build-fuzz/ and runs it for SECONDS seconds from the seed corpus.
# Exit status 0 when no input broke the reader; a crashing input is kept in build-fuzz/artifacts/.
set -euo pipefail

if [ $# -ne 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS" >&2
  exit 2
fi
seconds=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${PARAVIB_FUZZ_BUILD:-$root/build-fuzz}
mkdir -p "$out/corpus" "$out/artifacts"

${CLANGXX:-clang++} -std=c++17 -g -O1 -Wall -Wextra -ffp-contract=off \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" -I"$here" \
  "$here/boundary_file_fuzz.cpp" "$here/boundary_file_check.cpp" \
  "$root/data/boundary_file_io.cpp" "$root/data/regular_file_posix.cpp" \
  "$root/data/file_replace_posix.cpp" "$root/data/file_replace_names.cpp" \
  "$root/state/program_state.cpp" \
  -o "$out/boundary_file_fuzz"

# New units go to the first folder (in the build tree); the seeds in the source tree are only read.
"$out/boundary_file_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -dict="$here/boundary_file.dict" -artifact_prefix="$out/artifacts/" -print_final_stats=1 \
  "$out/corpus" "$here/corpus"
