#!/bin/sh
# Release checks run by CI before the tests: every test under AddressSanitizer and
# UndefinedBehaviorSanitizer, each fuzzer for a minute, and the Debian package
# built, installed, validated and started headless.
set -eu
cd "$(dirname "$0")/.."
CORVANE_EXTRA_PACKAGES="xvfb xauth xdotool desktop-file-utils appstream dpkg-dev clang libclang-rt-14-dev clang-format clang-tidy" \
    scripts/install-deps.sh
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
jobs="$(nproc)"

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_WERROR=ON \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --output-on-failure -j"$jobs")

if [ "$(id -u)" -eq 0 ]; then
    # Root writes into read-only folders, so those cases skip themselves under root: run the
    # tests that have them once more as an ordinary user.
    echo "== Read-only folder cases as an ordinary user"
    # The tests run by a path relative to the checkout, which needs no search permission on the
    # folders above it; the stand-in games they copy would be read by their absolute path in the
    # checkout, which a clone in a private folder (mktemp -d) closes to the ordinary user. So the
    # ordinary user gets its own readable copy of the stand-ins, and the guard checks both.
    standins="$(mktemp -d /tmp/corvane-standins.XXXXXX)"
    trap 'rm -rf "$standins"' EXIT
    cp tests/support/standin-game.sh tests/support/standin-runtime.sh "$standins/"
    if [ -f build-asan/tests/support/standin/hl.exe ]; then
        cp build-asan/tests/support/standin/hl.exe "$standins/"
    fi
    chmod -R a+rX "$standins"
    for t in settings/tst_profilefile settings/tst_location server/tst_serverconfig \
             server/tst_servermakerwindow setup/tst_configwindow; do
        if ! runuser -u nobody -- test -x "build-asan/tests/$t"; then
            echo "skipped: this checkout's build is not readable by an ordinary user"
            break
        fi
        if ! runuser -u nobody -- test -r "$standins/standin-game.sh"; then
            echo "the ordinary user cannot read the stand-ins copied to $standins" >&2
            exit 1
        fi
        runuser -u nobody -- env HOME=/tmp TMPDIR=/tmp XDG_RUNTIME_DIR=/tmp \
            QT_QPA_PLATFORM=offscreen CORVANE_STANDIN_DIR="$standins" \
            ASAN_OPTIONS=detect_leaks=1 "build-asan/tests/$t" -silent
    done
fi

echo "== Formatting and static checks"
git ls-files 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' \
    | xargs clang-format --dry-run --Werror
run-clang-tidy-14 -p build-asan -quiet "$PWD/src/" >build-asan/tidy.log 2>&1 || true
# The runner colours its output; only diagnostics in the project's own files count (the path
# analysis also reports inside Qt's headers, on Qt's own slot objects).
sed 's/\x1b\[[0-9;]*m//g' build-asan/tidy.log >build-asan/tidy-plain.log
if grep -qE "^$PWD/(src|tools|bench)/[^:]*:[0-9]+:[0-9]+: (warning|error):" build-asan/tidy-plain.log; then
    grep -A4 -E "^$PWD/(src|tools|bench)/[^:]*:[0-9]+:[0-9]+: (warning|error):" build-asan/tidy-plain.log
    exit 1
fi
echo "clang-tidy: no warnings in the project's sources"

if [ -x fuzz/run.sh ]; then
    echo "== Fuzzing every parser of outside data, 60 s each"
    fuzz/run.sh 60
fi

echo "== Debian package"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DCORVANE_WERROR=ON >/dev/null
cmake --build build-release -j"$jobs" --target corvane
(cd build-release && cpack -G DEB)
deb="$(ls build-release/corvane_*.deb | head -n 1)"
$sudo dpkg -i "$deb"
desktop-file-validate /usr/share/applications/org.example.Corvane.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.example.Corvane.metainfo.xml
# The installed program, started by a new player (not root, who may write anywhere): its
# settings go to the player's own folder and the first-use wizard greets them.
home="$(mktemp -d)"
chmod 777 "$home"
Xvfb :97 -screen 0 1024x768x24 -ac -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
if [ "$(id -u)" -eq 0 ]; then as_player="runuser -u nobody --"; else as_player=""; fi
DISPLAY=:97 $as_player env HOME="$home" XDG_CONFIG_HOME="$home/.config" corvane &
program=$!
status=0
if DISPLAY=:97 timeout 20 xdotool search --sync --name "Bienvenue dans le Corvane" >/dev/null; then
    echo "installed program showed the first-use wizard"
else
    echo "installed program did not show its first window"; status=1
fi
kill "$program" 2>/dev/null || true
kill "$xvfb" 2>/dev/null || true
[ -z "$(ls -A "$home/.config" 2>/dev/null)" ] || echo "settings folder: $(ls "$home/.config")"
rm -rf "$home"
$sudo dpkg -r corvane >/dev/null
[ "$status" -eq 0 ]
