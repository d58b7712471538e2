#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, and only what is missing.
# Quiet when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build
    g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
    wine wine64 xvfb fonts-ipafont-gothic fonts-wine
    locales googletest
    pulseaudio
    clang-format
    clang-16 libclang-rt-16-dev
)
locale_name=ja_JP.UTF-8

as_root() {
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "bootstrap: need root (or sudo) to run: $*" >&2
        exit 1
    fi
}

missing=()
for pkg in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [[ $status == installed ]] || missing+=("$pkg")
done

if ((${#missing[@]})); then
    echo "bootstrap: installing ${missing[*]}" >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# `locale -a` spells it ja_JP.utf8. Read it whole first: grep -q closing the pipe early would
# fail the pipeline under pipefail.
available=$(locale -a 2>/dev/null || true)
if ! grep -qix 'ja_JP\.utf-\?8' <<<"$available"; then
    echo "bootstrap: generating $locale_name" >&2
    if grep -q "^# *$locale_name UTF-8" /etc/locale.gen; then
        as_root sed -i "s/^# *\($locale_name UTF-8\)/\1/" /etc/locale.gen
    elif ! grep -q "^$locale_name UTF-8" /etc/locale.gen; then
        echo "$locale_name UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
fi
