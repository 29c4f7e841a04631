#!/usr/bin/env bash
# The HUD over the running game: frame rate and time in the upper right, the help pictures on F1,
# and the death warning when the player walks up to the statue ahead.
source "$(dirname "$0")/harness.sh"

# Pixels of the font's face colour inside a window-screenshot rectangle: count shot w h x y
font_pixels()
{
    convert "$BB_ARTIFACTS/$1.png" -crop "$2x$3+$4+$5" +repage -fuzz 3% -fill '#ff0000' -opaque '#fff7de' \
        -fill black +opaque '#ff0000' -format '%[fx:round(mean.r*w*h)]' info:
}

# Whether a rectangle of two screenshots differs: changed a b w h x y
changed()
{
    local diff
    diff=$(compare -metric AE -fuzz 5% "$BB_ARTIFACTS/$1.png[$3x$4+$5+$6]" "$BB_ARTIFACTS/$2.png[$3x$4+$5+$6]" null: 2>&1)
    [ "${diff%% *}" -gt $(($3 * $4 / 20)) ]
}

bb_start "WIDTH=800\nHEIGHT=600\nREFRESH_RATE=60\nFULLSCREEN=0\n"
bb_wait_window || bb_finish
bb_wait_console "LightNumber: 2"
sleep 2
bb_key Return
sleep 3
bb_window_screenshot hud_frame_rate_and_time
# In 800 x 600 the rate line is 35 pixels high from x 580 and y 15, the time line 20 high from y 80.
[ "$(font_pixels hud_frame_rate_and_time 220 40 580 12)" -gt 200 ] || bb_fail "no frame rate in the upper right"
[ "$(font_pixels hud_frame_rate_and_time 220 24 580 78)" -gt 100 ] || bb_fail "no running time below it"
[ "$(font_pixels hud_frame_rate_and_time 560 400 0 150)" -eq 0 ] || bb_fail "text where the HUD draws none"

bb_key F1
sleep 1.5
bb_window_screenshot help
# The help picture in the upper left (250 pixels square), the mouse and the keys in the lower corners.
changed hud_frame_rate_and_time help 240 240 5 5 || bb_fail "F1 did not show the help picture in the upper left"
changed hud_frame_rate_and_time help 140 140 655 455 || bb_fail "F1 did not show the mouse picture"
changed hud_frame_rate_and_time help 140 140 5 455 || bb_fail "F1 did not show the keys picture"
bb_key F1
sleep 1.5
bb_window_screenshot help_off
changed hud_frame_rate_and_time help_off 240 240 5 5 && bb_fail "a second F1 did not hide the help"

# Walk up to the statue ahead, which stays put while looked at, until the warning shows.
warned=0
for _ in $(seq 60); do
    bb_hold w 0.25
    sleep 0.3
    bb_window_screenshot walking
    if [ "$(font_pixels walking 460 20 200 280)" -gt 150 ]; then
        warned=1
        break
    fi
done
[ "$warned" = 1 ] || bb_fail "no death warning on the way to the statue"
bb_window_screenshot death_warning

bb_key Escape
bb_expect_exit 0
bb_finish
