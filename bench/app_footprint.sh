#!/usr/bin/env bash
# Start-up time, memory and CPU of the tray application, measured under Xvfb with a fresh
# data folder (welcome screen already seen), a private session bus and a stand-in panel
# (bench/tray_panel.py) that hosts the tray item and re-reads it on every change, as
# desktop panels do:
#
#   bench/app_footprint.sh [--closed] [--watch] [--cloud] [ZESTRA]  (default: build/app/zestra)
#
#   --closed   closes the popover (a click on the tray item) before measuring
#   --watch    keeps `zestra-cli timer watch` attached while measuring
#   --cloud    connects a cloud database on a throwaway local server (scripts/cloud-dev-server.sh)
#
# Prints one line: startup_ms=<t> rss_mb=<m> cpu_ms_per_min=<c> popover=<open|closed>
#   startup_ms      from exec to the popover drawn on screen
#   rss_mb          resident memory after three seconds of countdown
#   cpu_ms_per_min  CPU time of every thread (from the scheduler's own accounting, not the
#                   10 ms ticks of /proc/PID/stat) over one minute of countdown
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
popover=open
watch=
cloud=
zestra=
for argument in "$@"; do
    case $argument in
    --closed) popover=closed ;;
    --watch) watch=1 ;;
    --cloud) cloud=1 ;;
    *) zestra=$argument ;;
    esac
done
zestra=${zestra:-$here/build/app/zestra}
[ -x "$zestra" ] || { echo "no $zestra: build first (make build)" >&2; exit 2; }
cli=$(dirname "$zestra")/../cli/zestra-cli
bash "$here/scripts/install-deps.sh" xvfb python3-dbus python3-gi libglib2.0-bin bc >&2

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
    for pid in ${watch_pid:-} ${app_pid:-} ${panel_pid:-} ${xvfb_pid:-} ${bus_pid:-}; do
        kill "$pid" 2>/dev/null || true
    done
    [ -z "$cloud" ] || bash "$here/scripts/cloud-dev-server.sh" stop "$work/server" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r bus_address bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 \
    | paste -sd' ')
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done

mkdir -p "$work/home" "$work/data" "$work/config/Zestra"
printf '[General]\nWelcomeOnboardingDone=true\nThievesOnboardingNotDone=false\n' \
    >"$work/config/Zestra/Zestra.conf"
if [ -n "$cloud" ]; then
    chmod 755 "$work"
    admin=$(bash "$here/scripts/cloud-dev-server.sh" start "$work/server" | tail -n 1)
    "$cli" cloud init --admin "$admin" >/dev/null
    user_uri=$("$cli" cloud add-user "bench$RANDOM" --admin "$admin" 2>/dev/null)
    # The password rides in the URI here: a throwaway server, and no keyring to ask.
    printf 'CloudDatabaseURI="%s"\n' "$user_uri" >>"$work/config/Zestra/Zestra.conf"
fi
environment=(env -i PATH="$PATH" DISPLAY="$display" HOME="$work/home" XDG_DATA_HOME="$work/data"
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" DBUS_SESSION_BUS_ADDRESS="$bus_address")

"${environment[@]}" /usr/bin/python3 "$here/bench/tray_panel.py" >"$work/panel" 2>&1 &
panel_pid=$!
for _ in $(seq 200); do grep -q '^watcher' "$work/panel" && break; sleep 0.025; done

start_ms=$(date +%s%3N)
"${environment[@]}" ZESTRA_STARTUP_MARK=1 "$zestra" >"$work/out" 2>"$work/err" &
app_pid=$!

shown_ms=
for _ in $(seq 400); do
    shown_ms=$(awk '/^popover-shown/ { print $2; exit }' "$work/out")
    [ -n "$shown_ms" ] && break
    sleep 0.025
done
[ -n "$shown_ms" ] || { echo "the popover did not show" >&2; cat "$work/err" >&2; exit 1; }

item=
for _ in $(seq 200); do
    item=$(awk '/^item/ { print $2, $3; exit }' "$work/panel")
    [ -n "$item" ] && break
    sleep 0.025
done
[ -n "$item" ] || { echo "the tray item did not register" >&2; exit 1; }
if [ "$popover" = closed ]; then
    read -r item_name item_path <<<"$item"
    DBUS_SESSION_BUS_ADDRESS="$bus_address" gdbus call --session -d "$item_name" -o "$item_path" \
        -m org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
fi
if [ -n "$watch" ]; then
    "${environment[@]}" "$cli" timer watch >/dev/null 2>&1 &
    watch_pid=$!
fi

cpu_ns() { cat /proc/"$app_pid"/task/*/schedstat | awk '{ s += $1 } END { print s }'; }
sleep 3
rss_kb=$(awk '/^VmRSS/ { print $2 }' "/proc/$app_pid/status")
cpu_before=$(cpu_ns)
sleep "${FOOTPRINT_SECONDS:-60}"
cpu_after=$(cpu_ns)

printf 'startup_ms=%d rss_mb=%.1f cpu_ms_per_min=%d popover=%s%s%s\n' $((shown_ms - start_ms)) \
    "$(echo "$rss_kb / 1024" | bc -l)" $(((cpu_after - cpu_before) * 60 / ${FOOTPRINT_SECONDS:-60} / 1000000)) "$popover" \
    "${watch:+ watch=1}" "${cloud:+ cloud=1}"
