#!/usr/bin/env bash
# Soak test: the real game under its own Xvfb for a number of minutes (default 10) with random key
# presses and mouse moves from xdotool: walking, jumping, flying, every toggle key, pausing and
# picking resolutions in the pause menu, N to put the window back, H to hide it (it comes back by
# itself after a few seconds, then G is pressed), pushing the vehicle. The resident memory is
# sampled once a minute.
# It passes when the game still obeys a key at the end, ends with status 0 on Escape, and its
# resident memory grew by less than 5 MB between the first and the last minute.
#   tests/soak/soak.sh [minutes]     (SOAK_SEED=n repeats a run; VELLMAR_RUN_DIR picks the build)
set -u
cd "$(dirname "$0")/../.."
MINUTES=${1:-10}
SEED=${SOAK_SEED:-$$}
RUN_DIR=${VELLMAR_RUN_DIR:-$PWD/build/run}
LIMIT_KB=5120
[ -x "$RUN_DIR/vellmar" ] || { echo "no game at $RUN_DIR/vellmar: build it first"; exit 2; }
[ "$MINUTES" -ge 2 ] || { echo "a soak needs at least 2 minutes"; exit 2; }

export VELLMAR_RUN_DIR="$RUN_DIR"
source tests/blackbox/harness.sh
log() { echo "[soak $(date +%H:%M:%S)] $*"; }
bb_start "WIDTH=1024\nHEIGHT=768\nREFRESH_RATE=60\nFULLSCREEN=0\n"
bb_wait_window || { log "FAIL: no game window"; cat "$BB_DIR/console.txt"; exit 1; }
bb_wait_console "z:230"
GAME_PID=$BB_GAME_PID WINDOW=$BB_WINDOW WORK=$BB_DIR

alive() { kill -0 "$GAME_PID" 2>/dev/null; }
visible() { xdotool search --onlyvisible --name '^Vellmar' >/dev/null 2>&1; }
focus() { xdotool windowfocus --sync "$WINDOW" 2>/dev/null; }
window_size() { xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Geometry: *//p'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status" 2>/dev/null; }

# H hides the window only in play: the proof that the game obeys keys. The game shows the window
# again by itself a few seconds later.
obeys_keys()
{
    local hidden=1
    focus
    xdotool key h
    for _ in $(seq 20); do
        sleep 0.1
        visible || { hidden=0; break; }
    done
    for _ in $(seq 100); do
        visible && break
        sleep 0.1
    done
    focus
    sleep 0.3
    return $hidden
}

# Leave the start screen: Enter until H proves play.
started=no
for _ in $(seq 10); do
    focus
    sleep 0.3
    xdotool key Return
    sleep 0.4
    if obeys_keys; then started=yes; break; fi
done
[ "$started" = yes ] || { log "FAIL: the game never reached play"; cat "$WORK/console.txt"; exit 1; }

RANDOM=$SEED
log "seed $SEED, $MINUTES minutes, game pid $GAME_PID, display $DISPLAY"
paused=no
actions=0
resizes=0
clicks=0
SAMPLES=()
start=$(date +%s)
next_sample=$((start + 60))
end=$((start + MINUTES * 60))
pick() { local a=("$@"); echo "${a[RANDOM % ${#a[@]}]}"; }

while [ "$(date +%s)" -lt "$end" ]; do
    alive || { log "FAIL: the game died after $actions actions"; tail -n 40 "$WORK/console.txt"; exit 1; }
    if [ "$(date +%s)" -ge "$next_sample" ]; then
        SAMPLES+=("$(rss_kb)")
        log "minute ${#SAMPLES[@]}: RSS ${SAMPLES[-1]} kB after $actions actions, $clicks menu clicks, $resizes resizes, window $(window_size)"
        next_sample=$((next_sample + 60))
    fi
    focus
    roll=$((RANDOM % 100))
    if [ "$roll" -lt 30 ]; then
        key=$(pick w a s d w f)
        xdotool keydown "$key"; sleep "0.$((RANDOM % 9 + 1))"; xdotool keyup "$key"
    elif [ "$roll" -lt 50 ]; then
        xdotool mousemove_relative -- $((RANDOM % 401 - 200)) $((RANDOM % 201 - 100))
    elif [ "$roll" -lt 55 ]; then
        xdotool key space
    elif [ "$roll" -lt 60 ]; then
        xdotool key r
        xdotool keydown Shift_L; sleep 0.3; xdotool keyup Shift_L
    elif [ "$roll" -lt 73 ]; then
        xdotool key "$(pick F1 F2 F3 F6 F8 c)"
    elif [ "$roll" -lt 81 ]; then
        xdotool key p
        if [ "$paused" = no ]; then
            paused=yes
            sleep 0.3
            if [ $((RANDOM % 2)) = 0 ]; then
                # Click one of the three resolutions: rows 1/4..5/12, 1/2..8/12, 3/4..11/12 of the window.
                read -r w h < <(xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Geometry: *\([0-9]*\)x\([0-9]*\).*/\1 \2/p')
                entry=$((RANDOM % 3))
                y=$(( (h * (3 + 3 * entry) + h * (5 + 3 * entry)) / 24 ))
                xdotool mousemove --window "$WINDOW" $((w / 2)) "$y"
                sleep 0.3
                # Held over several frames: the game reads the button's state, it keeps no clicks.
                xdotool mousedown 1; sleep 0.4; xdotool mouseup 1
                clicks=$((clicks + 1))
                sleep 0.5
                size=$(window_size)
                [ "$size" != "$w"x"$h" ] && resizes=$((resizes + 1))
            fi
        else
            paused=no
        fi
    elif [ "$roll" -lt 85 ]; then
        xdotool key n
        sleep 0.5
    elif [ "$roll" -lt 88 ]; then
        obeys_keys || log "H did not hide the window (paused=$paused)"
        xdotool key g
    elif [ "$roll" -lt 95 ]; then
        key=$(pick Up Down Left Right m i)
        xdotool keydown "$key"; sleep "0.$((RANDOM % 9 + 1))"; xdotool keyup "$key"
    else
        sleep 1
    fi
    actions=$((actions + 1))
    sleep 0.1
done
SAMPLES+=("$(rss_kb)")
log "minute ${#SAMPLES[@]}: RSS ${SAMPLES[-1]} kB after $actions actions, $clicks menu clicks, $resizes resizes, window $(window_size)"

failed=0
alive || { log "FAIL: the game died at the end"; exit 1; }
[ "$paused" = yes ] && { focus; xdotool key p; sleep 0.3; }
if obeys_keys; then
    log "the game still obeys keys"
else
    log "FAIL: the game no longer obeys keys"
    failed=1
fi
focus
xdotool key Escape
for _ in $(seq 300); do alive || break; sleep 0.1; done
if alive; then
    log "FAIL: Escape did not end the game"
    failed=1
else
    wait "$GAME_PID"
    status=$?
    GAME_PID=""
    [ "$status" = 0 ] || { log "FAIL: exit status $status"; failed=1; }
    log "exit status $status"
fi
growth=$((SAMPLES[-1] - SAMPLES[0]))
log "RSS per minute (kB): ${SAMPLES[*]}"
log "growth from minute 1 to minute ${#SAMPLES[@]}: $growth kB (limit $LIMIT_KB kB)"
[ "$growth" -lt "$LIMIT_KB" ] || { log "FAIL: memory grew by $growth kB"; failed=1; }
if grep -qE "ERROR: AddressSanitizer|runtime error:" "$WORK/console.txt"; then
    log "FAIL: sanitizer report"; failed=1
fi
[ "$failed" = 0 ] && log "passed" || tail -n 40 "$WORK/console.txt"
exit $failed
