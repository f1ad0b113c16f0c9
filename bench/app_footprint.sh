#!/usr/bin/env bash
# Start-up time, memory and CPU of the tray application, measured under Xvfb with a fresh
# data folder and a private session bus:
#
#   bench/app_footprint.sh [BUILD_DIR]      (default: build)
#
# Prints one line: startup_ms=<t> rss_mb=<m> cpu_ms_per_min=<c>
#   startup_ms      from exec to the popover drawn on screen
#   rss_mb          resident memory with the popover open and the countdown running
#   cpu_ms_per_min  CPU time (user + system) over one minute of countdown
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
zestra=$build/app/zestra
[ -x "$zestra" ] || { echo "no $zestra: build first (make build)" >&2; exit 2; }
bash "$here/scripts/install-deps.sh" xvfb >&2

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
    [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r bus_address bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 \
    | paste -sd' ')
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done

mkdir -p "$work/home" "$work/data" "$work/config"
start_ms=$(date +%s%3N)
env -i PATH="$PATH" DISPLAY="$display" HOME="$work/home" XDG_DATA_HOME="$work/data" \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" \
    DBUS_SESSION_BUS_ADDRESS="$bus_address" ZESTRA_STARTUP_MARK=1 \
    "$zestra" >"$work/out" 2>"$work/err" &
app_pid=$!

shown_ms=
for _ in $(seq 400); do
    shown_ms=$(awk '/^popover-shown/ { print $2; exit }' "$work/out")
    [ -n "$shown_ms" ] && break
    sleep 0.025
done
[ -n "$shown_ms" ] || { echo "the popover did not show" >&2; cat "$work/err" >&2; exit 1; }

cpu_ms() {
    local ticks
    ticks=$(awk '{ print $14 + $15 }' "/proc/$app_pid/stat")
    echo $((ticks * 1000 / $(getconf CLK_TCK)))
}
sleep 3
rss_kb=$(awk '/^VmRSS/ { print $2 }' "/proc/$app_pid/status")
cpu_before=$(cpu_ms)
sleep 60
cpu_after=$(cpu_ms)

printf 'startup_ms=%d rss_mb=%.1f cpu_ms_per_min=%d\n' $((shown_ms - start_ms)) \
    "$(echo "$rss_kb / 1024" | bc -l)" $((cpu_after - cpu_before))
