#!/usr/bin/env bash
# The real game's sound: with the audio library writing its mix to a WAV file, the file is not
# silent; with no audio device at all, the game says so once, plays and quits with 0.
source "$(dirname "$0")/harness.sh"

printf "drivers=wave\n[wave]\nfile=%s\n" "$BB_DIR/mix.wav" >"$BB_DIR/wave.conf"
export ALSOFT_CONF="$BB_DIR/wave.conf"
bb_start ""
bb_wait_window || bb_finish
bb_wait_console "Sound: volume 80, device Wave File Writer"
bb_key Return
bb_mouse_to 900 384   # turn away from the statue at the start: it comes, grinding
sleep 2
bb_hold w 1
bb_key f
bb_key Escape
bb_expect_exit 0
cp "$BB_DIR/mix.wav" "$BB_ARTIFACTS/mix.wav" 2>/dev/null
rms=$(sox "$BB_DIR/mix.wav" -n stat 2>&1 | sed -n 's/^RMS *amplitude: *//p')
echo "mix RMS amplitude: ${rms:-none}"
awk -v r="${rms:-0}" 'BEGIN { exit !(r > 0.01) }' || bb_fail "the recorded mix is silent (RMS ${rms:-none})"
grep -c "^Sound: " "$BB_DIR/console.txt" | grep -qx 1 || bb_fail "expected one sound line"
bb_expect_console_order "GLSL Version : $(sed -n 's/^GLSL Version : //p' "$BB_DIR/console.txt")" \
    "Sound: volume 80, device Wave File Writer"

bb_next_game
printf "drivers=none-at-all\n" >"$BB_DIR/none.conf"
export ALSOFT_CONF="$BB_DIR/none.conf"
bb_start "VOLUME=50\n"
bb_wait_window || bb_finish
bb_key Return
bb_hold w 1
bb_key Escape
bb_expect_exit 0
bb_expect_console "Sound: volume 50, no audio device, the game plays without sound"
bb_finish
