#!/bin/sh
# Writes the seeds that stand at a reader's size limits: the largest input it accepts and one
# byte more. They are megabytes of filler, so they are made on demand rather than committed.
# Usage: fuzz/make-limit-seeds.sh <vdf|profilefile|serverreply> <folder>
# (fuzz/run.sh runs every seed it makes once through the target, before the fuzzing proper.)
set -eu

name="$1"
out="$2"
mkdir -p "$out"

# filler <count>: that many 'a' bytes.
filler() {
    head -c "$1" /dev/zero | tr '\0' 'a'
}

MiB=1048576

case "$name" in
vdf)
    # Steam's text format: the whole text at most 1 MiB. `"k" "` + value + `"` is 6 bytes.
    for size in $MiB $((MiB + 1)); do
        { printf '"k" "'; filler $((size - 6)); printf '"'; } >"$out/limit-size-$size"
    done
    # liblist.gam: only its first 64 KiB are read. The last line's closing quote is the byte
    # just past the limit in the larger seed, so a reader that takes one byte more reads
    # another value.
    size=65536
    { printf 'game "Limite"\n// '; filler $((size - 30)); printf '\ngamedir "abc'; } \
        >"$out/limit-liblist-$size"
    { cat "$out/limit-liblist-$size"; printf '"'; } >"$out/limit-liblist-$((size + 1))"
    ;;
profilefile)
    # The settings file: at most 4 MiB is read, and no write makes it larger. Each seed is
    # `s\ user\ <value>\ ` then the file; its whole size is a multiple of four so that the
    # fuzzer also runs it through a real file.
    limit=$((4 * MiB))
    # A file one byte past the limit: neither read nor written. (The second write seed below
    # is a file of exactly the limit, which is read.) `[s]` + CRLF + `user=` + CRLF take 12.
    { printf 's\\ user\\ \\ [s]\r\nuser='; filler $((limit - 11)); printf '\r\n'; } \
        >"$out/limit-read-$((limit + 1))"
    # A write that makes the file exactly the limit (kept) and one byte more (refused):
    # `user=x` becomes `user=xy`, `user=abcd` becomes `user=abcde`.
    { printf 's\\ user\\ xy\\ [s]\r\nuser=x\r\nfill='; filler $((limit - 21)); printf '\r\n'; } \
        >"$out/limit-write-$limit"
    { printf 's\\ user\\ abcde\\ [s]\r\nuser=abcd\r\nfill='; filler $((limit - 23)); printf '\r\n'; } \
        >"$out/limit-write-$((limit + 1))"
    ;;
serverreply)
    # Small enough to be committed: see fuzz/corpus/serverreply/limit-*.
    ;;
bsp)
    # Maps: the committed seeds are small generated maps; the target takes the bytes whole.
    ;;
*)
    echo "make-limit-seeds.sh: no limits known for $name" >&2
    exit 2
    ;;
esac
