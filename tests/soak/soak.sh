#!/usr/bin/env bash
# Soak: the real game for some minutes (default 10) with random keys and mouse from xdotool
# (walking, jumping, every toggle, the pause menu's resolutions, N, H), the memory read once a minute
# at 1024 x 768 after a warm-up (README). tests/soak/soak.sh [minutes]   (SOAK_SEED=n repeats a run)
cd "$(dirname "$0")/../.."
MINUTES=${1:-10}
export VELLMAR_RUN_DIR=${VELLMAR_RUN_DIR:-$PWD/build/run}
source tests/blackbox/harness.sh
SEED=${SOAK_SEED:-$$} && RANDOM=$SEED && bb_log "seed $SEED"
# glibc serves a block from the heap once one as large was freed, so a resize's window-sized buffers
# leave MB-sized holes a leak fills unseen (a planted 170 kB/min leak stayed flat, then rose in 3 MB
# steps). With the mmap threshold fixed such blocks go back to the system when freed.
export GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072
bb_start "WIDTH=1024\nHEIGHT=768\n"
bb_wait_window && bb_play || bb_finish
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$BB_GAME_PID/status"; }
# The malloc heap's share: the game's own allocations, which the trend judges.
heap() { awk '/ \[heap\]$/ { h = 1; next } /^[0-9a-f]+-/ { h = 0 } h && /^Rss:/ { print $2 }' "/proc/$BB_GAME_PID/smaps"; }
pick() { local a=("$@"); echo "${a[RANDOM % $#]}"; }
focus() { bb_window_found && xdotool windowfocus --sync "$BB_WINDOW" 2>/dev/null; }
sample() { focus; bb_key n && sleep 2 && bb_window_found && [ "$(bb_window_size)" = 1024x768 ] &&
    samples+=("$(heap)") rsses+=("$(rss)") && bb_log "heap ${samples[-1]} kB (RSS ${rsses[-1]} kB)"; }
# Clicks the pause menu's resolution entry $1 (0 to 2), held over several frames.
resolution() { IFS=x read -r w h <<<"$(bb_window_size)"
    xdotool mousemove --window "$BB_WINDOW" $((w / 2)) $((h * (8 + 6 * $1) / 24)) sleep 0.3 mousedown 1 sleep 0.4 mouseup 1; }
samples=() rsses=()
# The first time a window size or a drawing mode is seen, the driver takes memory it keeps, so every
# size and mode is visited twice before the first sample: only what then still grows is a leak.
for round in 1 2; do
    for entry in 2 1 0; do
        bb_key p && sleep 0.5 && resolution $entry && sleep 1 && focus; bb_key p
        for key in F1 F2 F3 F6 F8 c g m i; do bb_key $key; sleep 0.5; bb_key $key; done; xdotool keydown w sleep 1 keyup w
    done
    bb_key n && sleep 2 && bb_window_found && bb_key h
    bb_until 10 bb_hidden && bb_until 30 bb_shown && focus
done
sample; paused=no end=$((SECONDS + MINUTES * 60)) next=$((SECONDS + 60))
while [ "$SECONDS" -lt "$end" ]; do
    bb_running || { bb_fail "the game died"; bb_finish; }
    [ "$SECONDS" -ge "$next" ] && { sample; next=$((next + 60)); }
    focus  # N makes a new window
    roll=$((RANDOM % 100))
    if [ "$roll" -lt 40 ]; then
        key=$(pick w a s d f Up Down Left Right m i Shift_L)
        xdotool keydown "$key" sleep "0.$((RANDOM % 9 + 1))" keyup "$key"
    elif [ "$roll" -lt 60 ]; then
        xdotool mousemove_relative -- $((RANDOM % 401 - 200)) $((RANDOM % 201 - 100))
    elif [ "$roll" -lt 80 ]; then
        bb_key "$(pick space r F1 F2 F3 F6 F8 c n g)"
    elif [ "$roll" -lt 92 ]; then
        bb_key p
        [ $paused = no ] && paused=yes || paused=no
        [ $paused = yes ] && resolution $((RANDOM % 3))
    elif [ $paused = no ]; then
        bb_key h
        bb_until 30 bb_shown || bb_fail "the hidden window never came back"
    fi
    sleep 0.1
done
sample; [ $paused = yes ] && bb_key p; bb_key h
bb_until 10 bb_hidden || bb_fail "the game no longer obeys H"
bb_until 30 bb_shown && focus; bb_key Escape
bb_expect_exit 0
# The least-squares growth over the run through the given samples, or "none" for fewer than 3.
trend() { printf '%s\n' "$@" | awk '{ x = NR - 1; n++; sx += x; sy += $1; sxx += x * x; sxy += x * $1 }
    END { if (n < 3) { print "none"; exit } printf "%d\n", (n * sxy - sx * sy) / (n * sxx - sx * sx) * (n - 1) }'; }
bb_log "per minute at 1024 x 768 (kB): heap ${samples[*]}; RSS ${rsses[*]}"
# The RSS also holds the driver threads' arenas, which wander by some 20 MB at the same size.
growth=$(trend "${samples[@]}") && bb_log "trend over the run: heap $growth kB, RSS $(trend "${rsses[@]}") kB"
[ "$growth" != none ] && [ "$growth" -lt 5120 ] || bb_fail "heap trend $growth kB (under 5 MB over 3 or more samples)"
bb_finish
