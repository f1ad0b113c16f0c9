#!/usr/bin/env bash
# Fills a data folder with two weeks of believable work, for screenshots and example reports:
#
#   scripts/demo-week.sh ZESTRA-CLI DATA-HOME [LAST-DAY]
#
# DATA-HOME becomes XDG_DATA_HOME (the store goes to DATA-HOME/Zestra); LAST-DAY
# (YYYY-MM-DD, default today) is the last day filled. The same days always get the same work.
set -euo pipefail

cli=$1
data=$2
last=${3:-$(date +%F)}
export XDG_DATA_HOME=$data
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$data/config}
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"

add_task() { "$cli" add-task-info "$1" --color "$2" --description "$3" >/dev/null; }
add_task "Quarterly report" "#59b6e8" "Numbers and charts for the board"
add_task "Code review" "#82cf52" "Pull requests of the team"
add_task "Write chapter 3" "#ac92ec" "The book, one page at a time"
add_task "Email" "#ffa044" "Inbox to zero, twice a day"
add_task "Design sprint" "#fe2f68" "Prototype of the new onboarding"

# name of each slot, cycled with a per-day offset; an empty name is a task without a name
names=("Quarterly report" "Code review" "Write chapter 3" "Quarterly report" "Email" \
    "Design sprint" "" "Code review" "Write chapter 3" "Quarterly report")
for back in $(seq 13 -1 0); do
    day=$(date -d "$last -$back day" +%F)
    weekday=$(date -d "$day" +%u)
    count=$(( weekday >= 6 ? (back % 3) : 6 + (back * 7) % 6 ))
    [ "$count" -eq 0 ] && continue
    minutes=$((8 * 60 + 40 + (back * 13) % 30))
    for i in $(seq 0 $((count - 1))); do
        name=${names[$(( (i + back) % ${#names[@]} ))]}
        start=$(printf '%sT%02d:%02d:00' "$day" $((minutes / 60)) $((minutes % 60)))
        task=()
        [ -n "$name" ] && task=(--task "$name")
        "$cli" add-pomodoro --start "$start" --duration 1500 --break 300 "${task[@]}" >/dev/null
        minutes=$((minutes + 30))
        # a long break after every fourth task, and lunch
        [ $(( (i + 1) % 4 )) -eq 0 ] && minutes=$((minutes + 20))
        [ "$minutes" -ge $((12 * 60 + 30)) ] && [ "$minutes" -lt $((13 * 60 + 30)) ] && minutes=$((13 * 60 + 45))
        if [ $(( (i + 1) % 4 )) -eq 0 ]; then
            at=$(printf '%sT%02d:%02d:00' "$day" $(((minutes - 25) / 60)) $(((minutes - 25) % 60)))
            "$cli" add-session --at "$at" --tasks 4 >/dev/null
        fi
    done
    if [ "$count" -ge 8 ]; then
        at=$(printf '%sT%02d:%02d:00' "$day" $(((minutes - 5) / 60)) $(((minutes - 5) % 60)))
        "$cli" add-goal --at "$at" --tasks 8 >/dev/null
    fi
done
