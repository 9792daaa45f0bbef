#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages a build needs, only those that are missing.
# Usage: install-deps.sh [run|test|screenshot|bench]...
set -euo pipefail

build=(g++ cmake make pkg-config qt6-base-dev qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
       qt6-multimedia-dev libopencore-amrnb-dev libopencore-amrwb-dev libsndfile1-dev libtag1-dev
       fonts-liberation2 fonts-wine)
test_extra=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev dpkg-dev time ffmpeg
            appstream desktop-file-utils
            lintian appstream-compose shared-mime-info libglib2.0-bin file)
shot_extra=(xvfb xauth x11-apps imagemagick xdotool)
bench_extra=(libbenchmark-dev time hyperfine foremost scalpel strace python3)

wanted=("${build[@]}")
for group in "$@"; do
    case "$group" in
    run) ;;
    test) wanted+=("${test_extra[@]}") ;;
    screenshot) wanted+=("${shot_extra[@]}") ;;
    bench) wanted+=("${bench_extra[@]}") ;;
    *) echo "install-deps.sh: unknown group '$group'" >&2; exit 2 ;;
    esac
done

missing=()
for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing Debian packages: ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
