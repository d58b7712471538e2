#!/usr/bin/env bash
# scripts/run.sh [Tavimo arguments...]
#
# Builds what is needed and starts Tavimo.exe under Wine with the Japanese locale.
#  - With DISPLAY set: runs it in your normal Wine prefix and exits with its exit code.
#  - Without DISPLAY: runs it in a private headless environment (build/mingw-x64/run-env), saves a
#    screenshot of the main window, closes it, and prints the PNG's path on stdout. A run that
#    never shows the main window (a switch or a chore) just ends with Tavimo's exit code.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/mingw-x64
tavimo=$build/bin/Tavimo.exe
wincap=$build/bin/wincap.exe
prog=run

alive() { kill -0 "$1" 2>/dev/null; }

# Second stage: runs inside scripts/wine-env.sh.
capture_in_env() {
    local shots=$build/screenshots
    local png=$shots/tavimo-run.png dialog_png=$shots/tavimo-run-dialog.png
    mkdir -p "$shots"
    rm -f "$png" "$dialog_png"

    wine "$tavimo" "$@" &
    local tavimo_pid=$!
    wine "$wincap" --class TavimoFrmDevice --out "$png" --timeout 30000 --close &
    local main_pid=$!
    # Nobody can answer a message box headless (a switch such as /version, or an error): keep a
    # picture of it and close it, so Tavimo can go on.
    wine "$wincap" --class '#32770' --out "$dialog_png" --timeout 30000 --close 2>/dev/null &
    local dialog_pid=$!

    local i main_rc=0 tavimo_rc=0 dialog_rc=0
    while alive "$tavimo_pid" && alive "$main_pid"; do
        sleep 0.1
    done
    # wincap closes the window itself, so Tavimo can be gone a moment before wincap is.
    if ! alive "$tavimo_pid"; then
        for ((i = 0; i < 10; i++)); do
            alive "$main_pid" || break
            sleep 0.1
        done
    fi
    if alive "$main_pid"; then
        # Tavimo ended without ever showing its main window.
        kill "$main_pid" 2>/dev/null || true
        wait "$main_pid" 2>/dev/null || true
        main_rc=-1
    else
        wait "$main_pid" || main_rc=$?
    fi

    # After WM_CLOSE Tavimo may still be saving its settings; without a main window there is
    # nothing to wait for.
    local ticks=300
    ((main_rc == 0)) || ticks=30
    for ((i = 0; i < ticks; i++)); do
        alive "$tavimo_pid" || break
        sleep 0.1
    done
    if alive "$dialog_pid"; then
        kill "$dialog_pid" 2>/dev/null || true
        wait "$dialog_pid" 2>/dev/null || true
    else
        wait "$dialog_pid" || dialog_rc=$?
        if ((dialog_rc == 0)) && [[ -f $dialog_png ]]; then
            echo "$prog: Tavimo showed a dialog; it was saved and closed" >&2
            echo "$dialog_png"
        fi
    fi
    if alive "$tavimo_pid"; then
        echo "$prog: Tavimo is still running; stopping it" >&2
        return 1 # the environment's teardown ends it
    fi
    wait "$tavimo_pid" || tavimo_rc=$?

    if ((main_rc == 0)); then
        echo "$png"
    elif ((main_rc > 0)); then
        echo "$prog: no screenshot of the main window (wincap exit $main_rc)" >&2
        return "$main_rc"
    fi
    return "$tavimo_rc"
}

if [[ ${TAVIMO_RUN_STAGE:-} == capture ]]; then
    capture_in_env "$@"
    exit $?
fi

"$root/scripts/bootstrap.sh"
cd "$root"
if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake --preset mingw-x64 --log-level=WARNING >&2
fi
# Build output goes to stderr: stdout carries only the screenshot's path.
cmake --build --preset mingw-x64 --target Tavimo nUsbDevice wincap keeper >&2

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
if [[ -n ${DISPLAY:-} ]]; then
    exec wine "$tavimo" "$@"
fi
TAVIMO_RUN_STAGE=capture exec "$root/scripts/wine-env.sh" --env-dir "$build/run-env" "$build" \
    "$root/scripts/run.sh" "$@"
