#!/usr/bin/env bash
# Corvane for Windows, built and tested on Debian: cross-builds the program and its tests with
# mingw-w64 against the cross Qt of scripts/windows-qt.sh (warnings are errors), runs every test
# program under Wine, packs the zip and the NSIS installer, and starts the zip's program under
# Wine and Xvfb until its first-use wizard shows.
#
#   scripts/windows-build.sh
#
# Environment (all optional):
#   BUILD       build folder                                   [build-windows]
#   JOBS        parallel compile jobs                          [nproc]
#   CTEST_ARGS  extra ctest arguments, e.g. "-R tst_setuprules"
#   PACKAGE     0: stop after the tests                        [1]
# Outputs: $BUILD/corvane-<version>-windows-x64.zip and $BUILD/corvane-<version>-windows-x64-setup.exe
set -euo pipefail
cd "$(dirname "$0")/.."
SRC=$PWD
BUILD=${BUILD:-build-windows}
JOBS=${JOBS:-$(nproc)}
CTEST_ARGS=${CTEST_ARGS:-}
PACKAGE=${PACKAGE:-1}
WINE64=/usr/lib/wine/wine64   # /usr/bin/wine is the 32-bit loader and goes through start.exe
started=$(date +%s)
step() { printf '== %(%T)T %s\n' -1 "$*"; }

CORVANE_EXTRA_PACKAGES="ninja-build wine wine64 nsis zip unzip xvfb xauth xdotool fonts-dejavu-core" \
    scripts/install-deps.sh
QT=$(scripts/windows-qt.sh | tail -n 1)
export CORVANE_QT_MINGW="$QT"
mkdir -p "$BUILD"
BUILD=$(cd "$BUILD" && pwd)

# --- build --------------------------------------------------------------------------------------
step "configure and build for Windows in $BUILD"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$SRC" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$SRC/cmake/toolchains/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$QT" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$WINE64" "${launcher[@]}" >"$BUILD/configure.log" \
    || { tail -30 "$BUILD/configure.log"; exit 1; }
cmake --build "$BUILD" -j"$JOBS"
step "built in $(( $(date +%s) - started )) s"

# --- Wine -----------------------------------------------------------------------------------------
# The DLLs the programs need: the cross Qt's, and mingw-w64's C++ and thread runtimes.
gcc_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX/drive_c" ] || wineboot -i >/dev/null 2>&1
stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

# --- tests under Wine ----------------------------------------------------------------------------
step "tests under Wine"
# Wine hides every QT_* variable from Windows programs; WINEQT_* reaches them as QT_*. Without a
# console Qt Test writes to the debugger output: force stderr. The offscreen platform on Windows
# looks for fonts in Qt's own folder unless told.
export WINEQT_QPA_PLATFORM=offscreen WINEQT_FORCE_STDERR_LOGGING=1
WINEQT_QPA_FONTDIR=$(winepath -w /usr/share/fonts/truetype/dejavu 2>/dev/null)
WINEPATH="$(winepath -w "$QT/bin");$(winepath -w "$gcc_dlls");$(winepath -w "$pthread_dlls")"
export WINEQT_QPA_FONTDIR WINEPATH
# One wineserver for all the tests (about 0.5 s a test instead of 3 s); its background programs
# start with a first program here, or ctest would wait on the first test's output.
stop_wine
wineserver -p
"$WINE64" cmd /c exit 0 >/dev/null 2>&1 </dev/null
test_status=0
(cd "$BUILD" && ctest --output-on-failure --timeout 300 $CTEST_ARGS) || test_status=$?
step "tests done after $(( $(date +%s) - started )) s (ctest status $test_status)"
stop_wine   # from here on, a wineserver that ends when its programs do (wineserver -w)
[ "$PACKAGE" = 1 ] || exit "$test_status"

# --- the program as players get it ------------------------------------------------------------------
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
name="corvane-$version-windows-x64"
dist="$BUILD/dist/$name"
step "package $name"
rm -rf "$BUILD/dist"
mkdir -p "$dist/plugins" "$dist/translations" "$dist/licenses"
cp "$BUILD/src/corvane.exe" "$SRC/resources/crvn.ini" "$dist/"
# Qt finds its plugins and French texts beside the program, not in the cross Qt's prefix.
cp "$SRC/resources/windows/qt.conf" "$dist/"
for kind in platforms styles imageformats; do
    [ -d "$QT/plugins/$kind" ] && cp -r "$QT/plugins/$kind" "$dist/plugins/"
done
rm -f "$dist/plugins/platforms/"qminimal.dll "$dist/plugins/platforms/"qoffscreen.dll
cp "$QT/translations/qtbase_fr.qm" "$dist/translations/"
# Every DLL the program and its plugins import, found in Qt's and mingw-w64's folders (the
# system's own DLLs are on every Windows).
needed() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
queue=("$dist/corvane.exe" $(find "$dist/plugins" -name '*.dll'))
while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}; queue=("${queue[@]:1}")
    for dll in $(needed "$file"); do
        [ -e "$dist/$dll" ] && continue
        for dir in "$QT/bin" "$gcc_dlls" "$pthread_dlls"; do
            if [ -f "$dir/$dll" ]; then cp "$dir/$dll" "$dist/"; queue+=("$dist/$dll"); break; fi
        done
    done
done
find "$dist" \( -name '*.dll' -o -name '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
cp "$SRC/resources/debian/copyright" "$dist/licenses/corvane.txt"
cp /usr/share/doc/libqt6core6/copyright "$dist/licenses/qt.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$dist/licenses/mingw-w64-gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$dist/licenses/mingw-w64-winpthreads.txt"
rm -f "$BUILD/$name.zip"
(cd "$BUILD/dist" && zip -qr9 "$BUILD/$name.zip" "$name")
echo "$BUILD/$name.zip: $(du -sh "$dist" | cut -f1) unpacked, $(du -h "$BUILD/$name.zip" | cut -f1) zipped"

step "installer"
makensis -V2 -DVERSION="$version" -DDIST="$dist" \
    -DOUTFILE="$BUILD/$name-setup.exe" "$SRC/resources/windows/corvane.nsi"
echo "$BUILD/$name-setup.exe: $(du -h "$BUILD/$name-setup.exe" | cut -f1)"

package_status=0
check() { if "$@"; then echo "ok: ${desc}"; else echo "FAILED: ${desc}"; package_status=1; fi; }
run_dir="$BUILD/run"
rm -rf "$run_dir"; mkdir -p "$run_dir"
(cd "$run_dir" && unzip -q "$BUILD/$name.zip")
program="$run_dir/$name/corvane.exe"
# Nothing from the build's folders: the zip alone must be enough.
unset WINEPATH WINEQT_QPA_PLATFORM WINEQT_FORCE_STDERR_LOGGING WINEQT_QPA_FONTDIR
desc="corvane.exe --version answers" check sh -c "'$WINE64' '$program' --version 2>/dev/null | grep -q 'Corvane'"
desc="corvane.exe --help answers in French (qt.conf finds the translation)" \
    check sh -c "'$WINE64' '$program' --help 2>/dev/null | grep -q 'Utilisation'"

# The installer, silently, for the current user: files, Start-menu entry, then the uninstaller.
local_app=$(winepath -u "$("$WINE64" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
start_menu=$(winepath -u "$("$WINE64" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)"/Microsoft/Windows/Start Menu/Programs"
"$WINE64" "$BUILD/$name-setup.exe" /S >/dev/null 2>&1 || true
wineserver -w
desc="installer put corvane.exe under %LOCALAPPDATA%\\Programs\\Corvane" check test -f "$local_app/Programs/Corvane/corvane.exe"
desc="installer added the Start-menu entry" check test -f "$start_menu/Corvane.lnk"
desc="installer wrote the uninstaller" check test -f "$local_app/Programs/Corvane/uninstall.exe"
printf '[MISC]\r\nfirstuse=no\r\n' >"$local_app/Programs/Corvane/crvn.ini"
"$WINE64" "$BUILD/$name-setup.exe" /S >/dev/null 2>&1 || true
wineserver -w
desc="installing again kept the player's crvn.ini" \
    check grep -q "firstuse=no" "$local_app/Programs/Corvane/crvn.ini"
# NSIS's uninstaller copies itself to the temporary folder and starts that copy: wait for Wine.
"$WINE64" "$local_app/Programs/Corvane/uninstall.exe" /S >/dev/null 2>&1 || true
wineserver -w
desc="uninstaller removed the program and the Start-menu entry, kept crvn.ini" check sh -c \
    "! test -e '$local_app/Programs/Corvane/corvane.exe' && ! test -e '$start_menu/Corvane.lnk' && test -f '$local_app/Programs/Corvane/crvn.ini'"
rm -rf "$local_app/Programs/Corvane"

step "the zip's program under Wine with the windows platform, on Xvfb"
# A new wineserver, so that Wine's desktop process starts with the X display.
stop_wine
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$run_dir/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$run_dir/display" ] && break; sleep 0.2; done
display=":$(cat "$run_dir/display")"
(cd "$run_dir/$name" && DISPLAY="$display" exec "$WINE64" corvane.exe >"$run_dir/wine-output.txt" 2>&1) &
corvane=$!
desc="corvane.exe showed the first-use wizard" \
    check sh -c "DISPLAY=$display timeout 90 xdotool search --sync --name 'Bienvenue dans le Corvane' >/dev/null"
kill "$corvane" 2>/dev/null || true
stop_wine
kill "$xvfb" 2>/dev/null || true
step "Windows build, tests and packages done in $(( $(date +%s) - started )) s"
[ "$test_status" -eq 0 ] && [ "$package_status" -eq 0 ]
