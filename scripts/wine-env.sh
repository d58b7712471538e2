#!/usr/bin/env bash
# scripts/wine-env.sh [--env-dir DIR] <build-dir> <command...>
#
# Runs <command> inside a private Wine test environment and tears it down afterwards, also when
# the command fails or is interrupted. Exits with the command's exit code.
#
# The environment lives in DIR (default <build-dir>/wine) and is made fresh on every call:
#   prefix/  WINEPREFIX (64-bit, Japanese locale, virtual desktop 1024x600)
#   home/    HOME and the XDG folders, so nothing touches the real home (the recycle bin is in here)
#   drives/cd   D: as a CD-ROM drive      drives/usb   E: as a removable drive
# plus Xvfb on a free display and <build-dir>/bin/keeper.exe holding the desktop and clipboard open.
# shellcheck disable=SC2317 # the teardown functions run from traps
set -euo pipefail

prog=wine-env
die() {
    echo "$prog: $*" >&2
    exit 125
}
usage() {
    echo "usage: scripts/wine-env.sh [--env-dir DIR] <build-dir> <command...>" >&2
    exit 2
}

env_dir=
while [[ $# -gt 0 && $1 == --* ]]; do
    case $1 in
        --env-dir) [[ $# -ge 2 ]] || usage; env_dir=$2; shift 2 ;;
        --) shift; break ;;
        *) usage ;;
    esac
done
[[ $# -ge 2 ]] || usage
[[ -d $1 ]] || die "no build folder: $1"
build_dir=$(cd "$1" && pwd)
shift
keeper_exe=$build_dir/bin/keeper.exe
[[ -f $keeper_exe ]] || die "missing $keeper_exe (build the keeper target first)"
env_dir=${env_dir:-$build_dir/wine}
mkdir -p "$env_dir"
env_dir=$(cd "$env_dir" && pwd)
[[ $env_dir != / ]] || die "refusing to use / as the environment folder"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }
# Linux path -> the same file through Wine's Z: drive.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# Two environments in one folder would delete each other's prefix.
exec 9>"$env_dir/.lock"
flock -n 9 || die "another environment is running in $env_dir"

started=$(now)
pulse_pid=
xvfb_pid=
display_num=
keeper_pid=
our_prefix=
torn_down=

teardown() {
    [[ -z $torn_down ]] || return 0
    torn_down=1
    local t
    t=$(now)
    if [[ -n $our_prefix ]]; then
        # Kills the keeper, explorer and whatever the command left running in this prefix only.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    if [[ -n $keeper_pid ]]; then
        wait "$keeper_pid" 2>/dev/null || true
    fi
    if [[ -n $pulse_pid ]]; then
        kill "$pulse_pid" 2>/dev/null || true
        wait "$pulse_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        local i
        for ((i = 0; i < 40; i++)); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.05
        done
        kill -9 "$xvfb_pid" 2>/dev/null || true
    fi
    if [[ -n $display_num ]]; then
        rm -f "/tmp/.X$display_num-lock" "/tmp/.X11-unix/X$display_num"
    fi
    echo "$prog: torn down in $(elapsed "$t") s" >&2
}
command_pid=
on_signal() {
    local code=$1 i
    trap - INT TERM
    if [[ -n $command_pid ]]; then
        # Ctrl-C reached the command too; a TERM may have come to this script alone.
        kill -TERM "$command_pid" 2>/dev/null || true
        for ((i = 0; i < 50; i++)); do
            kill -0 "$command_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$command_pid" 2>/dev/null || true
    fi
    teardown
    exit "$code"
}
trap teardown EXIT
trap 'on_signal 130' INT
trap 'on_signal 143' TERM

# --- fresh folders -------------------------------------------------------------------------
rm -rf "${env_dir:?}/prefix" "${env_dir:?}/home" "${env_dir:?}/runtime" "${env_dir:?}/drives" "${env_dir:?}/logs"
mkdir -p "$env_dir/home" "$env_dir/drives/cd" "$env_dir/drives/usb" "$env_dir/logs"
mkdir -m 700 "$env_dir/runtime"

export HOME=$env_dir/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_STATE_HOME=$HOME/.local/state XDG_RUNTIME_DIR=$env_dir/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS XAUTHORITY
export WINEPREFIX=$env_dir/prefix WINEARCH=win64 WINEDEBUG=-all
our_prefix=1
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
logs=$env_dir/logs

show_log() {
    [[ -s $1 ]] || return 0
    echo "--- $1" >&2
    tail -n 20 "$1" >&2
}

# --- Xvfb on a free display ------------------------------------------------------------------
start_xvfb() {
    local n ready=$logs/xvfb.display i
    for ((n = 90; n < 200; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        : >"$ready"
        # Own session: a Ctrl-C in the terminal must not kill the display under the command;
        # teardown stops it in order. -displayfd reports the number once it accepts clients.
        setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -displayfd 3 3>"$ready" 9>&- \
            >"$logs/xvfb.log" 2>&1 </dev/null &
        local pid=$!
        for ((i = 0; i < 200; i++)); do
            if [[ -s $ready ]]; then
                xvfb_pid=$pid
                display_num=$n
                export DISPLAY=:$n
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        # Lost a race for this display number (or it hangs): try the next one.
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    show_log "$logs/xvfb.log"
    die "could not start Xvfb"
}
start_xvfb

# --- sound server ------------------------------------------------------------------------------
# A private PulseAudio with one null sink gives Wine a mixer (master and wave lines, levels per
# process). Tests that need no sound server point PULSE_SERVER elsewhere for their own processes.
start_pulse() {
    command -v pulseaudio >/dev/null || return 0
    local socket=$XDG_RUNTIME_DIR/pulse/native i
    mkdir -p "$XDG_RUNTIME_DIR/pulse"
    setsid pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
        --load="module-null-sink sink_name=tavimo_null" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$socket" \
        >"$logs/pulse.log" 2>&1 </dev/null 9>&- &
    pulse_pid=$!
    for ((i = 0; i < 100; i++)); do
        [[ -S $socket ]] && { export PULSE_SERVER=unix:$socket; return 0; }
        kill -0 "$pulse_pid" 2>/dev/null || break
        sleep 0.05
    done
    show_log "$logs/pulse.log"
    echo "$prog: no sound server (tests that need one will fail)" >&2
}
start_pulse

# --- prefix ------------------------------------------------------------------------------------
t=$(now)
# No menu entries or file associations for a throwaway prefix; it also makes the boot faster.
if ! WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" wineboot -i >"$logs/wineboot.log" 2>&1 9>&-; then
    show_log "$logs/wineboot.log"
    die "wineboot failed"
fi
boot_time=$(elapsed "$t")

cat >"$env_dir/env.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x600"

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"d:"="cdrom"
"e:"="floppy"
EOF
if ! wine reg import "$(winpath "$env_dir/env.reg")" >"$logs/reg.log" 2>&1 9>&-; then
    show_log "$logs/reg.log"
    die "registry import failed"
fi
# Wine draws the caption buttons with Marlett but only finds it in the prefix's Fonts folder;
# without it they show as letters in screenshots.
if [[ -f /usr/share/wine/fonts/marlett.ttf ]]; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
ln -sfn "$env_dir/drives/cd" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$env_dir/drives/usb" "$WINEPREFIX/dosdevices/e:"

# wineboot left a desktop running on bare X, made before the virtual desktop was configured.
# Stopping the server (which saves the registry) is seconds faster than waiting for it to idle out.
wineserver -k 2>/dev/null || true
wineserver -w

# --- keeper ------------------------------------------------------------------------------------
ready=$env_dir/keeper.ready
rm -f "$ready"
setsid wine "$keeper_exe" "$(winpath "$ready")" >"$logs/keeper.log" 2>&1 </dev/null 9>&- &
keeper_pid=$!
for ((i = 0; i < 600; i++)); do
    [[ -s $ready ]] && break
    if ! kill -0 "$keeper_pid" 2>/dev/null; then
        show_log "$logs/keeper.log"
        die "keeper exited before its window was up"
    fi
    sleep 0.05
done
[[ -s $ready ]] || die "keeper did not come up within 30 s"

echo "$prog: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX HOME=$HOME LANG=$LANG desktop=1024x600" \
    "sound=${PULSE_SERVER:-none}" \
    "D:=$env_dir/drives/cd (cdrom) E:=$env_dir/drives/usb (removable) keeper up;" \
    "setup $(elapsed "$started") s (wineboot $boot_time s)" >&2

# --- the command ---------------------------------------------------------------------------
# In the background with `wait`, so a TERM sent to this script alone (a timeout, CI) is handled at
# once instead of after the command ends. Without job control bash would start it with SIGINT
# ignored and stdin from /dev/null: undo both so Ctrl-C and interactive use behave as usual.
env --default-signal=INT,QUIT "$@" 0<&0 9>&- &
command_pid=$!
status=0
wait "$command_pid" || status=$?
command_pid=
exit "$status"
