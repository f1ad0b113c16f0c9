#!/usr/bin/env bash
# Times the store's hot queries as bare SQL in the sqlite3 shell, to set beside store_bench.
#
#   bench/sqlite_shell_compare.sh STORE_FILE [BUDGET_SECONDS]
#
# STORE_FILE is a Pomodoro.DataModel; store_bench leaves its dataset behind when asked:
#   build/bench/store_bench --keep-dataset /tmp/zestra-dataset
#   bench/sqlite_shell_compare.sh /tmp/zestra-dataset/Pomodoro.DataModel
#
# The file (and its -wal, if any) is copied to a temporary folder and only the copy is
# opened. The days are store_bench's: the last day in the store is "today", the typical day
# is 100 days before it and the thirty days start 400 days before it, with day bounds at
# local midnight in Europe/Madrid. Run it on the day the dataset was built.
#
# The shell's .timer gives real time in whole milliseconds, so each query (or group of
# thirty) runs many times after a warm-up, up to BUDGET_SECONDS (default 3) or 2000 runs,
# and the mean is printed: real time, and CPU time (user + sys, which is not rounded).
# Unlike the store, the shell prepares every statement afresh and prints every row (here to
# /dev/null), which it pays for on the larger results.
set -euo pipefail

if [[ $# -lt 1 || ! -f $1 ]]; then
    sed -n '2,20s/^# \{0,1\}//p' "$0" >&2
    exit 2
fi
command -v sqlite3 >/dev/null || { echo "sqlite3 is not installed" >&2; exit 1; }

store=$1
budget=${2:-3}
max_runs=2000
export TZ=Europe/Madrid
reference=978307200 # 2001-01-01 00:00:00 UTC, the store's epoch

work=$(mktemp -d "${TMPDIR:-/tmp}/zestra-shell-compare-XXXXXX")
trap 'rm -rf "$work"' EXIT
copy=$work/Pomodoro.DataModel
cp -- "$store" "$copy"
[[ -f $store-wal ]] && cp -- "$store-wal" "$copy-wal"

# Bounds of a local day as the store compares them: midnight, and the second before the
# next midnight, in seconds since 2001.
day_start() { echo $(($(date -d "$1 00:00:00" +%s) - reference)); }
day_end() { echo $(($(date -d "$(date -d "$1 + 1 day" +%F) 00:00:00" +%s) - 1 - reference)); }
day_before() { date -d "$1 - $2 days" +%F; }

last=$(sqlite3 "$copy" "SELECT CAST(max(startTime) AS INTEGER) + $reference FROM Pomodoro;")
[[ -n $last ]] || { echo "no pomodoros in $store" >&2; exit 1; }
today=$(date -d "@$last" +%F)
typical=$(day_before "$today" 100)
month=$(day_before "$today" 400)

day_query="SELECT p.id, p.startTime, p.endTime, p.duration, p.freeTimeDuration, p.taskName, \
p.taskInfo IS NOT NULL, t.name, t.cloudRecordID, p.cloudRecordID \
FROM Pomodoro p LEFT JOIN TaskInfo t ON t.id = p.taskInfo \
WHERE p.startTime >= $(day_start "$typical") AND p.startTime <= $(day_end "$typical");"
dates_query="SELECT DISTINCT startTime FROM Pomodoro ORDER BY startTime;"
sum_query="SELECT total(duration) FROM Pomodoro WHERE taskInfo IN \
(SELECT id FROM TaskInfo WHERE name = 'Task 7');"
counts_query=""
executions_query=""
for ((i = 0; i < 30; i++)); do
    day=$(date -d "$month + $i days" +%F)
    bounds="startTime >= $(day_start "$day") AND startTime <= $(day_end "$day")"
    counts_query+="SELECT count(*) FROM Pomodoro WHERE $bounds;"$'\n'
    executions_query+="SELECT count(*) FROM Pomodoro WHERE $bounds AND taskName = 'Task';"$'\n'
done

# Sum of the shell's real and CPU seconds over `runs` runs of the statements in $2.
run_timed() {
    local runs=$1 statements=$2
    {
        echo ".output /dev/null"
        printf '%s\n' "$statements" # warm-up: schema, page cache
        echo ".timer on"
        for ((r = 0; r < runs; r++)); do printf '%s\n' "$statements"; done
    } | sqlite3 "$copy" |
        awk '/^Run Time:/ { real += $4; cpu += $6 + $8 } END { printf "%.6f %.6f\n", real, cpu }'
}

time_query() {
    local name=$1 statements=$2
    local probe runs totals
    # The CPU time of a few runs (not rounded) picks a run count that fits the budget.
    probe=$(run_timed 5 "$statements")
    runs=$(awk -v p="${probe#* }" -v b="$budget" -v m="$max_runs" \
        'BEGIN { per = p / 5; n = per > 0 ? int(b / per) : m; if (n > m) n = m; if (n < 5) n = 5; print n }')
    totals=$(run_timed "$runs" "$statements")
    awk -v name="$name" -v runs="$runs" -v t="$totals" 'BEGIN {
        split(t, v, " ")
        printf "%-26s real %10.1f us   cpu %10.1f us   (mean of %d runs)\n",
            name, v[1] / runs * 1e6, v[2] / runs * 1e6, runs
    }'
}

echo "sqlite3 $(sqlite3 --version | cut -d' ' -f1) on a copy of $store"
echo "today $today, typical day $typical, thirty days from $month ($TZ)"
time_query "pomodorosForDate" "$day_query"
time_query "dates" "$dates_query"
time_query "timeDedicated_Task7" "$sum_query"
time_query "tasksFinished_x30" "$counts_query"
time_query "executions_Task_x30" "$executions_query"
