#!/bin/sh
# measure.sh [BUILD_DIR]
#
# Measures the game itself on an 800 x 600 virtual screen and prints one
# "name: value unit" line per figure:
#   - how long the main window takes to come up (median of 5 fresh starts),
#   - processor use of the idle window over 10 s between games (the new-game
#     dialog confirmed, the pointer still), with the about box open, and in a
#     game with the clock running; for each, the threads' wake-ups (context
#     switches) over the same 10 s and, where strace may attach, the system
#     calls that carry the timers' ticks and the X traffic over 5 s,
#   - resident memory with a base of 150 000 questions loaded for a game,
# followed by the lines of zorban-bench (load, shuffle and rewrite times).
#
# Needs Xvfb, xdotool, strace (optional), and the targets zorban and zorban-bench built in
# BUILD_DIR (default "build"). MEASURE_IDLE_ONLY=1 measures the idle figures
# alone. Progress notes go to stderr, the figures to stdout. Timings are reported, never judged here.
set -eu

BUILD=${1:-build}
case $BUILD in
/*) ;;
*) BUILD=$(pwd)/$BUILD ;;
esac
GAME=$BUILD/zorban
BENCH=$BUILD/tools/bench/zorban-bench
BASE=$BUILD/QA/Base.QA
for needed in "$GAME" "$BENCH" "$BASE"; do
    if [ ! -e "$needed" ]; then
        echo "measure.sh: $needed is missing; build the targets zorban and zorban-bench first" >&2
        exit 1
    fi
done

MAIN_TITLE='^Зорбан! Vantor$'
ABOUT_TITLE='^About$'
NAME_TITLE='^Замена имени$'
TICKS=$(getconf CLK_TCK)
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/zorban-measure.XXXXXX")
GAME_PID=
XVFB_PID=

note() { echo "measure.sh: $*" >&2; }

stop_game()
{
    if [ -n "$GAME_PID" ]; then
        kill "$GAME_PID" 2>/dev/null || true
        wait "$GAME_PID" 2>/dev/null || true
        GAME_PID=
    fi
}

cleanup()
{
    status=$?
    stop_game
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$SCRATCH"
    [ "$status" -eq 0 ] || note "stopped early (exit status $status)"
}
trap cleanup EXIT
trap 'note "interrupted"; exit 130' INT TERM

now_ns() { date +%s%N; }

# Everything runs on a virtual screen of its own, whatever display the caller
# has. Other programs on the machine start virtual screens too, so the script
# takes a display number that is far from the usual ones and free of both lock
# file and socket, and keeps it only when the lock file names its own server.
start_screen()
{
    for number in $(seq "${MEASURE_FIRST_DISPLAY:-173}" "${MEASURE_LAST_DISPLAY:-199}"); do
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
        Xvfb ":$number" -screen 0 800x600x24 -nolisten tcp 2>"$SCRATCH/xvfb.log" &
        XVFB_PID=$!
        for _ in $(seq 1 100); do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            if [ -S "/tmp/.X11-unix/X$number" ] && [ "$(tr -d ' ' <"/tmp/.X$number-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
                DISPLAY=:$number
                export DISPLAY
                return 0
            fi
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    done
    note "no virtual screen could be started:"
    cat "$SCRATCH/xvfb.log" >&2
    return 1
}
start_screen

# A fresh working folder with the given base as QA/Base.QA and no settings file.
fresh_dir()
{
    dir=$SCRATCH/run.$1
    rm -rf "$dir"
    mkdir -p "$dir/QA"
    cp "$2" "$dir/QA/Base.QA"
    echo "$dir"
}

# Starts the game in folder $1 and leaves its process id in GAME_PID.
start_game()
{
    cd "$1"
    "$GAME" >"$1/game.log" 2>&1 &
    GAME_PID=$!
    cd - >/dev/null
}

# Now and then (about one start in twenty while xdotool keeps asking the
# screen for windows) the game cannot connect to the virtual screen and quits
# at once. Such a start is not a measurement: it is counted and made again.
FAILED_STARTS=0
failed_to_connect()
{
    kill -0 "$GAME_PID" 2>/dev/null && return 1
    wait "$GAME_PID" 2>/dev/null && code=0 || code=$?
    GAME_PID=
    if grep -q "could not connect to display" "$1/game.log" && [ "$FAILED_STARTS" -lt 5 ]; then
        FAILED_STARTS=$((FAILED_STARTS + 1))
        note "start $FAILED_STARTS could not connect to the screen; starting again"
        return 0
    fi
    note "the game quit (status $code) before its window showed; its output:"
    cat "$1/game.log" >&2
    exit 1
}

# Whether a window titled $1 is shown. A search that died on an X error (a
# window vanished under it) is made again rather than read as "not shown".
visible()
{
    for _ in 1 2 3; do
        answer=$(xdotool search --onlyvisible --name "$1" 2>&1) && return 0
        case $answer in
        *"X Error"*) continue ;;
        esac
        return 1
    done
    return 1
}

# Every dialog is a panel on the game's one window. The new-game panel
# (459 x 183) stands centred on the 800 x 600 screen; its OK button is at
# (376, 154) inside it. The splash (the about panel) goes after 2 s.
confirm_new_game()
{
    sleep 2.5
    xdotool mousemove 546 362 click 1
    sleep 0.5
}

# Clicks at ($2, $3) inside the shown window titled $1.
click_in()
{
    for _ in 1 2 3; do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        if [ -n "$window" ]; then
            xdotool mousemove --window "$window" "$2" "$3" click 1
            return 0
        fi
        sleep 0.1
    done
    note "no window titled $1 to click in"
    return 1
}

# Waits up to $2 seconds for a visible window titled $1; fails otherwise.
wait_visible()
{
    deadline=$(($(date +%s) + $2))
    while ! visible "$1"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Waits up to $2 seconds until no visible window is titled $1.
wait_gone()
{
    deadline=$(($(date +%s) + $2))
    while visible "$1"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# utime + stime of the whole process, all threads, in clock ticks.
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# A field of /proc/PID/status in kB (VmRSS, VmHWM).
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Processor use of GAME_PID over $1 seconds, as % of one core.
cpu_percent()
{
    t0=$(now_ns)
    c0=$(cpu_ticks "$GAME_PID")
    sleep "$1"
    c1=$(cpu_ticks "$GAME_PID")
    t1=$(now_ns)
    awk -v c="$((c1 - c0))" -v hz="$TICKS" -v ns="$((t1 - t0))" 'BEGIN { printf "%.2f", 100 * (c / hz) / (ns / 1e9) }'
}

# Moves the pointer to the right edge so that the menu panel slides in.
slide_menu_in()
{
    xdotool mousemove 798 "$1"
    sleep 0.5
}

if [ -z "${MEASURE_IDLE_ONLY:-}" ]; then
# ---- (a) Time until the main window is shown --------------------------------
# Two ways of noticing the window: "xdotool search --sync", which looks once
# at once and then every 500 ms, and a loop that asks xdotool every 10 ms.
# The first quantises the figure to half seconds; the second is the one to
# compare with a target, its granularity is the mean period of the loop.
note "window-up time, 5 starts each way"
sync_times=
poll_times=
poll_periods=
for run in 1 2 3 4 5; do
    dir=$(fresh_dir "sync$run" "$BASE")
    t0=$(now_ns)
    start_game "$dir"
    # xdotool gives up with an X error when a window vanishes while it walks
    # the tree (the game makes and drops short-lived windows as it starts);
    # it is then simply asked again.
    until timeout 60 xdotool search --sync --onlyvisible --name "$MAIN_TITLE" >/dev/null 2>&1; do
        if failed_to_connect "$dir"; then
            dir=$(fresh_dir "sync$run" "$BASE")
            t0=$(now_ns)
            start_game "$dir"
        fi
    done
    t1=$(now_ns)
    stop_game
    sync_times="$sync_times $(((t1 - t0) / 1000000))"

    dir=$(fresh_dir "poll$run" "$BASE")
    polls=0
    t0=$(now_ns)
    start_game "$dir"
    while ! visible "$MAIN_TITLE"; do
        if failed_to_connect "$dir"; then
            dir=$(fresh_dir "poll$run" "$BASE")
            polls=0
            t0=$(now_ns)
            start_game "$dir"
            continue
        fi
        polls=$((polls + 1))
        sleep 0.01
    done
    t1=$(now_ns)
    stop_game
    poll_times="$poll_times $(((t1 - t0) / 1000000))"
    [ "$polls" -gt 0 ] && poll_periods="$poll_periods $(((t1 - t0) / 1000000 / polls))"
    sleep 0.5
done
note "window-up times (sync, ms):$sync_times"
note "window-up times (10 ms poll, ms):$poll_times"
echo "window_up_sync_median: $(printf '%s\n' $sync_times | median) ms"
echo "window_up_sync_granularity: 500 ms"
echo "window_up_poll_median: $(printf '%s\n' $poll_times | median) ms"
echo "window_up_poll_granularity: $(printf '%s\n' ${poll_periods:-0} | median) ms"
echo "window_up_failed_connects: $FAILED_STARTS count"

fi

# ---- (b) and (c) Idle processor use ------------------------------------------
# Wake-ups of the whole process: the voluntary and involuntary context
# switches of all its threads, which count every time a thread slept and ran
# again (a timer's worker, the GUI thread woken by a tick or by the X server).
wakeups()
{
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '$1 == "voluntary_ctxt_switches:" || $1 == "nonvoluntary_ctxt_switches:" { n += $2 } END { print n + 0 }'
}

# idle_cpu_NAME and idle_wakeups_NAME of GAME_PID over 10 s, then
# idle_calls_NAME_* over 5 s: the calls that carry the timers' hand-off (futex; write and read on the
# event counter; poll of the GUI thread) and the X connection (writev flushes
# requests, recvmsg reads replies and events). strace slows the traced
# process, so it runs after the processor figure, never during it.
idle_figures()
{
    w0=$(wakeups "$GAME_PID")
    t0=$(now_ns)
    echo "idle_cpu_$1: $(cpu_percent 10) % of one core"
    w1=$(wakeups "$GAME_PID")
    t1=$(now_ns)
    awk -v n="$((w1 - w0))" -v ns="$((t1 - t0))" -v name="$1" \
        'BEGIN { printf "idle_wakeups_%s: %.1f per s\n", name, n / (ns / 1e9) }'
    if ! command -v strace >/dev/null 2>&1; then
        note "strace is not installed: no system-call counts"
        return 0
    fi
    timeout -s INT 5 strace -q -c -f -e trace=futex,poll,ppoll,write,read,writev,sendmsg,recvmsg \
        -o "$SCRATCH/strace.$1" -p "$GAME_PID" 2>"$SCRATCH/strace.err" || true
    if ! grep -q "calls" "$SCRATCH/strace.$1" 2>/dev/null && [ -s "$SCRATCH/strace.err" ]; then
        note "strace could not attach: $(head -n 1 "$SCRATCH/strace.err")"
        return 0
    fi
    # A summary row: % time, seconds, usecs/call, calls, [errors,] name.
    for call in futex poll ppoll write read writev sendmsg recvmsg; do
        count=$(awk -v c="$call" '$NF == c { print $4 }' "$SCRATCH/strace.$1" 2>/dev/null)
        echo "idle_calls_$1_$call: ${count:-0} in 5 s"
    done
}

note "idle processor use: between games, about box open, in a game (3 x 15 s)"
dir=$(fresh_dir idle "$BASE")
start_game "$dir"
wait_visible "$MAIN_TITLE" 20 || { note "the main window did not show"; exit 1; }
# Between games: the new-game dialog confirmed, nothing else open, the pointer
# still over the question area (the menu panel hidden).
confirm_new_game
xdotool mousemove 400 300
sleep 1
idle_figures menu_timer

slide_menu_in 15
xdotool mousemove 744 15 click 1
sleep 1
idle_figures about_open
awk -v kb="$(status_kb "$GAME_PID" VmRSS)" 'BEGIN { printf "rss_shipped_base_idle: %.1f MiB\n", kb / 1024 }'
# Esc closes the about box; then "Новая игра..." starts a game
# and the pointer rests over the question area while the clock runs.
xdotool key Escape
sleep 0.5
slide_menu_in 63
xdotool mousemove 673 63 click 1
sleep 1
xdotool mousemove 400 300
sleep 1
idle_figures in_game
stop_game

[ -z "${MEASURE_IDLE_ONLY:-}" ] || exit 0

# ---- (d) Resident memory with a big base ------------------------------------
note "resident memory with 150 000 questions"
dir=$(fresh_dir big "$BASE")
"$BENCH" --write-base "$dir/QA/Base.QA"
start_game "$dir"
wait_visible "$MAIN_TITLE" 60 || { note "the main window did not show"; exit 1; }
confirm_new_game
sleep 0.5
rss_before=$(status_kb "$GAME_PID" VmRSS)
slide_menu_in 63
t0=$(now_ns)
xdotool mousemove 673 63 click 1
# Loading is done when the resident size has stayed put for 1.5 s
# (three samples in a row), and at most after 60 s.
last=0
steady=0
stable_ns=0
for _ in $(seq 1 120); do
    sleep 0.5
    kill -0 "$GAME_PID" 2>/dev/null || { note "the game quit while loading the base"; exit 1; }
    rss=$(status_kb "$GAME_PID" VmRSS)
    if [ "$rss" -eq "$last" ]; then
        steady=$((steady + 1))
        [ "$steady" -ge 3 ] && break
    else
        steady=0
        last=$rss
        stable_ns=$(now_ns)
    fi
done
[ "$steady" -ge 3 ] || note "resident memory was still changing after 60 s"
rss_after=$(status_kb "$GAME_PID" VmRSS)
hwm=$(status_kb "$GAME_PID" VmHWM)
stop_game
awk -v kb="$rss_before" 'BEGIN { printf "rss_big_base_before_game: %.1f MiB\n", kb / 1024 }'
awk -v kb="$rss_after" 'BEGIN { printf "rss_big_base_in_game: %.1f MiB\n", kb / 1024 }'
awk -v kb="$hwm" 'BEGIN { printf "rss_big_base_peak: %.1f MiB\n", kb / 1024 }'
# The floor of holding a base: its own bytes.
big_bytes=$(stat -c %s "$dir/QA/Base.QA")
awk -v kb="$rss_after" -v was="$rss_before" -v b="$big_bytes" \
    'BEGIN { printf "rss_big_base_growth: %.1f MiB\n", (kb - was) / 1024;
             printf "rss_big_base_file_floor: %.1f MiB\n", b / 1048576;
             printf "rss_big_base_growth_ratio_to_file: %.2f x\n", (kb - was) * 1024 / b }'
echo "big_base_last_growth_after_click: $(((stable_ns - t0) / 1000000)) ms"

# ---- zorban-bench ------------------------------------------------------------
note "zorban-bench"
"$BENCH"
