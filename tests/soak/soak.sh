#!/usr/bin/env bash
# Soak: the real game for some minutes (default 10) with random keys and mouse from xdotool
# (walking, jumping, every toggle, the pause menu's resolutions, N, H). It passes when the game
# still obeys H at the end, ends with 0 on Escape, and its resident memory grew by less than 5 MB
# from the first minute to the last.   tests/soak/soak.sh [minutes]   (SOAK_SEED=n repeats a run)
cd "$(dirname "$0")/../.."
MINUTES=${1:-10}
export VELLMAR_RUN_DIR=${VELLMAR_RUN_DIR:-$PWD/build/run}
source tests/blackbox/harness.sh
SEED=${SOAK_SEED:-$$} && RANDOM=$SEED && bb_log "seed $SEED"
bb_start "WIDTH=1024\nHEIGHT=768\n"
bb_wait_window && bb_play || bb_finish
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$BB_GAME_PID/status"; }
pick() { local a=("$@"); echo "${a[RANDOM % $#]}"; }
samples=() paused=no
end=$((SECONDS + MINUTES * 60)) next=$((SECONDS + 60))
while [ "$SECONDS" -lt "$end" ]; do
    bb_running || { bb_fail "the game died"; bb_finish; }
    [ "$SECONDS" -ge "$next" ] && { samples+=("$(rss)"); next=$((next + 60)); bb_log "RSS ${samples[-1]} kB"; }
    bb_window_found && xdotool windowfocus --sync "$BB_WINDOW" 2>/dev/null  # N makes a new window
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
        # One of the three resolution entries, held over several frames.
        IFS=x read -r w h <<<"$(bb_window_size)"
        [ $paused = yes ] && xdotool mousemove --window "$BB_WINDOW" $((w / 2)) $((h * (8 + 6 * (RANDOM % 3)) / 24)) \
            sleep 0.3 mousedown 1 sleep 0.4 mouseup 1
    elif [ $paused = no ]; then
        bb_key h
        bb_until 30 bb_shown || bb_fail "the hidden window never came back"
    fi
    sleep 0.1
done
samples+=("$(rss)")
[ $paused = yes ] && bb_key p
bb_key h
bb_until 10 bb_hidden || bb_fail "the game no longer obeys H"
bb_until 30 bb_shown && xdotool windowfocus --sync "$BB_WINDOW" 2>/dev/null
bb_key Escape
bb_expect_exit 0
bb_log "RSS per minute (kB): ${samples[*]}"
[ $((samples[-1] - samples[0])) -lt 5120 ] || bb_fail "memory grew by $((samples[-1] - samples[0])) kB"
bb_finish
