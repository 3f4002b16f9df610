#!/bin/sh
# A stand-in for Steam's runtime script: records its arguments, then the variables the game
# needs and the folder it was started in, into CORVANE_RUNTIME_OUT (one file per start), then
# starts what it was given, as the real one does.
out="${CORVANE_RUNTIME_OUT:?}"
n=0
while [ -e "$out.$n" ]; do n=$((n + 1)); done
{
    for a in "$@"; do printf '%s\n' "$a"; done
    printf 'SteamAppId=%s\n' "${SteamAppId-<unset>}"
    printf 'SteamGameId=%s\n' "${SteamGameId-<unset>}"
    printf 'cwd=%s\n' "$(pwd -P)"
} > "$out.$n.tmp" && mv "$out.$n.tmp" "$out.$n"
exec "$@"
