#!/usr/bin/env bash
# Checks that no include runs up a floor: each folder may include its own headers and those of the
# floors below it, and only draw/ and app/ may include OpenGL, GLUT or X11 headers. Then that only
# the drawing backend (draw/draw_backend_gl*.cpp, draw/draw_backend_web.cpp) calls OpenGL or GLUT's
# drawing (text, swap, shapes); the window files call GLUT's window and input functions only, and
# the tests and benchmarks may still read the desktop's OpenGL state.
# Usage: tools/check_floors.sh [source-root]; prints each offending line and exits 1 if any.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

declare -A allowed=(
  [state]="state"
  [stability]="state stability"
  [response]="state response"
  [data]="state stability data"
  [control]="state stability response data control"
  [draw]="state response draw"
  [app]="state stability response data control draw app"
)
graphics='^#include <(GL|X11|emscripten)/'

status=0
for floor in "${!allowed[@]}"; do
  [ -d "$floor" ] || continue
  while IFS= read -r -d '' file; do
    while IFS= read -r line; do
      if [[ $line =~ ^#include\ \"([a-z_]+)/ ]]; then
        target=${BASH_REMATCH[1]}
        if [[ " ${allowed[$floor]} " != *" $target "* ]]; then
          echo "$file: $line (a $floor/ file may include only: ${allowed[$floor]})"
          status=1
        fi
      elif [[ $line =~ $graphics ]] && [ "$floor" != draw ] && [ "$floor" != app ]; then
        echo "$file: $line (graphics headers belong to draw/ and app/)"
        status=1
      fi
    done < <(grep -E '^#include' "$file")
  done < <(find "$floor" -name '*.cpp' -print0 -o -name '*.h' -print0)
done

drawing_call='(^|[^A-Za-z0-9_])(gl[A-WYZ][A-Za-z0-9_]*|glut(Bitmap|Stroke|Solid|Wire|SwapBuffers|PostRedisplay)[A-Za-z0-9_]*)[[:space:]]*\('
backend_file='^draw/draw_backend_(gl[a-z_]*|web)\.cpp$'
while IFS= read -r -d '' file; do
  [[ $file =~ $backend_file ]] && continue
  while IFS= read -r hit; do
    echo "$file:$hit (only the drawing backend calls OpenGL)"
    status=1
  done < <(grep -nE "$drawing_call" "$file" | grep -vE '^[0-9]+:[[:space:]]*//')
done < <(find state stability response data control draw app tools -name '*.cpp' -print0 \
         -o -name '*.h' -print0 2>/dev/null)
[ $status -eq 0 ] && echo "check_floors: every include stays on its floor or below; only the backend draws"
exit $status
