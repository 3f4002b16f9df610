#!/bin/sh
# Installs what building, running and testing Corvane needs on Debian 12 (bookworm).
# Runs apt-get through sudo when not root; installs nothing that is already there.
set -eu
# qstat: its quakestat is the independent check of the server query in the tests
# (tst_qstatagreement); the README's test command relies on this script to bring it.
packages="cmake g++ make qt6-base-dev qt6-translations-l10n qstat"
[ "${CORVANE_EXTRA_PACKAGES:-}" ] && packages="$packages $CORVANE_EXTRA_PACKAGES"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
