#!/bin/sh
# A stand-in for the game: writes each argument it receives on a line of its own into the
# file named by CORVANE_STANDIN_OUT (one file per start: a counter is appended when it exists),
# and the folder it was started in into the same name with ".cwd" added.
out="${CORVANE_STANDIN_OUT:?}"
n=0
while [ -e "$out.$n" ]; do n=$((n + 1)); done
pwd -P > "$out.$n.cwd"
for a in "$@"; do printf '%s\n' "$a"; done > "$out.$n.tmp" && mv "$out.$n.tmp" "$out.$n"
