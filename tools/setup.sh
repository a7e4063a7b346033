#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Run as root on a fresh Debian machine. Safe to run again.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
    build-essential g++ cmake pkg-config \
    libdfp-dev libcrypt-dev \
    libncurses-dev ncurses-base \
    liblmdb-dev \
    libmariadb-dev \
    libgtest-dev libgmock-dev libbenchmark-dev gnucobol3 \
    libvterm-dev tmux \
    clang libclang-rt-dev \
    locales
# The numeric locales that OPTION COMMA / NOCOMMA switch to.
for loc in en_US.UTF-8 fr_FR.UTF-8; do
    if ! locale -a 2>/dev/null | grep -qi "^${loc%%.*}.utf8$"; then
        $SUDO sed -i "s/^# *${loc} UTF-8/${loc} UTF-8/" /etc/locale.gen
        need_gen=1
    fi
done
if [ "${need_gen:-0}" = 1 ]; then $SUDO locale-gen; fi
