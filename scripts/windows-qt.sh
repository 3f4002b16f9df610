#!/usr/bin/env bash
# Builds Qt for Windows (qtbase from Debian's own source package, the version of the host Qt)
# with mingw-w64, once, into a cache folder, and prints that folder on its last line.
# The system's apt sources are never touched: the source package comes through a private apt
# configuration.
#
#   scripts/windows-qt.sh            # builds only when the cache is absent
#
# Environment: CORVANE_QT_MINGW (the install folder) [~/.cache/corvane/qt6-mingw],
#              JOBS [nproc], NICE [10], WORK (scratch folder) [~/.cache/corvane/qt6-mingw-work]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
QT_PREFIX=${CORVANE_QT_MINGW:-$HOME/.cache/corvane/qt6-mingw}
WORK=${WORK:-$HOME/.cache/corvane/qt6-mingw-work}
JOBS=${JOBS:-$(nproc)}
NICE=${NICE:-10}
HOST_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake   # Qt6HostInfo lives here on Debian

log() { printf '== %(%T)T %s\n' -1 "$*" >&2; }

CORVANE_EXTRA_PACKAGES="ninja-build perl xz-utils patch g++-mingw-w64-x86-64-posix dpkg-dev" \
    "$here/install-deps.sh" >&2

if [ -f "$QT_PREFIX/.complete" ]; then
    log "Qt for Windows found"
    echo "$QT_PREFIX"
    exit 0
fi

SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
start=$(date +%s)
QT_DEB_VERSION=$(dpkg-query -W -f='${Version}' qt6-base-dev)
QT_UPSTREAM=${QT_DEB_VERSION%%+*}
mkdir -p "$WORK/src" "$WORK/apt/lists/partial" "$WORK/apt/parts" "$WORK/apt/cache/archives/partial"

# --- source package ---------------------------------------------------------------------------
ORIG="$WORK/src/qt6-base_${QT_DEB_VERSION%-*}.orig.tar.xz"
if [ ! -f "$ORIG" ] || [ ! -f "$WORK/src/qt6-base_${QT_DEB_VERSION}.debian.tar.xz" ]; then
    log "Qt $QT_DEB_VERSION source package"
    # The system's own Debian entries, as source entries, in a sources file of ours.
    src_entries=/etc/apt/sources.list.d/debian.sources
    if [ -f "$src_entries" ]; then
        sed 's/^Types: deb$/Types: deb-src/' "$src_entries" > "$WORK/apt/parts/src.sources"
    else
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n\nTypes: deb-src\nURIs: http://deb.debian.org/debian-security\nSuites: bookworm-security\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            > "$WORK/apt/parts/src.sources"
    fi
    APT_OPTS=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$WORK/apt/parts"
              -o "Dir::State::Lists=$WORK/apt/lists" -o "Dir::Cache=$WORK/apt/cache")
    $SUDO apt-get "${APT_OPTS[@]}" update >&2
    (cd "$WORK/src" && apt-get "${APT_OPTS[@]}" source --download-only "qt6-base=$QT_DEB_VERSION" >&2)
fi

# --- unpack, patch ----------------------------------------------------------------------------
log "unpack and patch"
QTSRC="$WORK/src/qtbase-everywhere-src-$QT_UPSTREAM"
rm -rf "$QTSRC" "$WORK/src/debian"
tar -C "$WORK/src" -xf "$ORIG"
tar -C "$WORK/src" -xf "$WORK/src/qt6-base_${QT_DEB_VERSION}.debian.tar.xz"
# Debian's patches (security fixes among them) but its cross-build tweak, which would build
# androiddeployqt for Windows.
for p in $(grep -Ev '^(#|cross\.patch$)' "$WORK/src/debian/patches/series"); do
    patch -d "$QTSRC" -p1 --forward --quiet < "$WORK/src/debian/patches/$p"
done

# --- configure, build, install -----------------------------------------------------------------
log "configure Qt"
QTBUILD="$WORK/build"
rm -rf "$QTBUILD" "$QT_PREFIX"; mkdir -p "$QTBUILD"
# wintab is cut from Debian's +dfsg tarball: no tablet events. Qt 6.4's windows plugin needs
# direct2d and directwrite3 off together (GDI fonts). Qt Network stays (the server query), without
# TLS: the program speaks plain UDP only.
(cd "$QTBUILD" && nice -n "$NICE" "$QTSRC/configure" -prefix "$QT_PREFIX" \
    -xplatform win32-g++ -qt-host-path /usr -release -shared \
    -nomake examples -nomake tests -no-opengl -no-dbus -no-icu -no-pkg-config \
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-doubleconversion \
    -no-zstd -no-openssl -no-feature-schannel -no-feature-sql -no-feature-concurrent \
    -no-feature-xml -no-feature-printsupport -no-feature-tabletevent -no-feature-vulkan \
    -no-feature-direct2d -no-feature-directwrite3 \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/toolchains/mingw-w64.cmake" \
       -DQT_HOST_PATH_CMAKE_DIR="$HOST_CMAKE_DIR") > "$WORK/configure.log" 2>&1 \
    || { tail -40 "$WORK/configure.log" >&2; exit 1; }

log "build Qt (about 16 minutes on 2 quiet cores)"
nice -n "$NICE" ninja -C "$QTBUILD" -j "$JOBS" > "$WORK/build.log" 2>&1 \
    || { grep -B2 -A12 "FAILED:" "$WORK/build.log" | tail -40 >&2; exit 1; }
ninja -C "$QTBUILD" install > "$WORK/install.log" 2>&1
mkdir -p "$QT_PREFIX/translations"
cp /usr/share/qt6/translations/qtbase_fr.qm "$QT_PREFIX/translations/"
rm -rf "$QTBUILD" "$QTSRC" "$WORK/src/debian"
touch "$QT_PREFIX/.complete"
log "Qt for Windows built in $(( $(date +%s) - start )) s: $(du -sh "$QT_PREFIX" | cut -f1)"
echo "$QT_PREFIX"
