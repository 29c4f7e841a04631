#!/usr/bin/env bash
# The real game's sound: with the audio library writing its mix to a WAV file, the mix is not
# silent and the console says so once; with no audio device the game says so and plays.
source "$(dirname "$0")/harness.sh"
printf "drivers=wave\n[wave]\nfile=%s\n" "$BB_DIR/mix.wav" >"$BB_DIR/wave.conf"
export ALSOFT_CONF="$BB_DIR/wave.conf"
bb_start ""
bb_wait_window && bb_play || bb_finish
# Turned away from the statue it comes, grinding; the mix is written in real time.
xdotool mousemove --window "$BB_WINDOW" 900 300 keydown w sleep 2 keyup w
bb_key Escape
bb_expect_exit 0
rms=$(sox "$BB_DIR/mix.wav" -n stat 2>&1 | sed -n 's/^RMS *amplitude: *//p')
awk -v r="${rms:-0}" 'BEGIN { exit !(r > 0.01) }' || bb_fail "the recorded mix is silent (RMS ${rms:-none})"
[ "$(grep -c "^Sound: " "$BB_CONSOLE")" = 1 ] || bb_fail "expected one sound line"
bb_expect_order "GLSL Version : $(sed -n 's/^GLSL Version : //p' "$BB_CONSOLE")" "Sound: volume 80, device Wave File Writer"
bb_next_game
printf "drivers=none-at-all\n" >"$BB_DIR/wave.conf"
bb_start "VOLUME=50\n"
bb_plays
bb_expect_console "Sound: volume 50, no audio device, the game plays without sound"
bb_finish
