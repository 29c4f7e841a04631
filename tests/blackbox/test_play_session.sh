#!/usr/bin/env bash
# A short session of the real game played with real keys and the real mouse: Enter leaves the
# start screen, a mouse move turns the view and back, held keys walk up to the statue that stands
# before door 1 (watched all the way, so it never moves) until the death warning shows, and Escape
# ends the game with status 0. Pictures of the hall at the start and of the statue close up with
# the warning are kept; the console shows the start-up report in the game's order.
source "$(dirname "$0")/harness.sh"

# Share of light pixels (grey above 88 %) in a rectangle of a screenshot, in thousandths.
light_share()
{
    convert "$BB_ARTIFACTS/$1.png" -crop "$4x$5+$2+$3" +repage -colorspace Gray -threshold 88% \
        -format "%[fx:int(1000*mean)]" info: 2>/dev/null
}

# The warning is drawn from (400, 600) in the HUD's 1600 x 1200 units, 23 glyphs of 40: in a
# 1024 x 768 window that is x 256..845 and rows 358..384 from the top.
warning_share() { light_share "$1" 256 358 589 26; }

# Thousandths of the pixels that differ by more than 10 % between two screenshots.
changed_share()
{
    compare -metric AE -fuzz 10% "$BB_ARTIFACTS/$1.png" "$BB_ARTIFACTS/$2.png" null: 2>&1 >/dev/null |
        awk -v total=$((1024 * 768)) '{ printf "%d\n", 1000 * $1 / total }'
}

bb_start "WIDTH=1024\nHEIGHT=768\nREFRESH_RATE=60\nFULLSCREEN=0\n"
bb_wait_window || bb_finish
bb_wait_console "LightCount: 3"
sleep 1
bb_key Return
sleep 1.5

# The hall at the start, with the statue ahead beyond the harvester.
bb_window_screenshot hall_start
[ "$(warning_share hall_start)" -lt 10 ] || bb_fail "a warning shows at the start"

# A tenth of a turn to the right with the mouse and back again; the statue stays in view.
bb_mouse_to 572 384
sleep 1
bb_window_screenshot turned
bb_mouse_to 452 384
sleep 1
bb_window_screenshot turned_back
turned=$(changed_share hall_start turned)
back=$(changed_share hall_start turned_back)
bb_log "turning changed $turned/1000 of the picture, turning back left $back/1000 changed"
[ "$turned" -gt 40 ] || bb_fail "the mouse did not turn the view"
[ $((2 * back)) -lt "$turned" ] || bb_fail "turning back did not bring the first view back"

# Aim at the statue's middle (a twentieth of a radian to the right, which also clears the vehicle)
# and walk most of the way to it; then, in flight, where a held key moves only a little each
# frame, creep closer until the warning shows: it shows from 3.99 of the statue's middle, over a
# unit before its touch, and each creep is much shorter than that even at a few frames a second.
bb_mouse_to 522 384
sleep 0.5
bb_hold w 4.3
bb_key r
warned=""
for step in $(seq 80); do
    bb_hold w 0.5
    bb_window_screenshot statue_warning
    share=$(warning_share statue_warning)
    if [ "$share" -gt 40 ]; then
        warned=$step
        break
    fi
done
bb_log "warning after $step creeping steps: band $share/1000"
[ -n "$warned" ] || bb_fail "the death warning never showed"
[ "$(light_share statue_warning 0 0 1024 768)" -lt 300 ] || bb_fail "the game-over screen shows instead of the warning"

bb_key Escape
bb_expect_exit 0

bb_expect_console_order "WIDTH=1024" "HEIGHT=768" "REFRESH_RATE=60" "FULLSCREEN=false" \
    "GL Vendor : Mesa/X.org" \
    "Aktivator position: x: 0, y:0, z:22" "Aktivator position: x: 0, y:0, z:105" \
    "Aktivator position: x: 0, y:0, z:230" "LightNumber: 0"
for line in "GL Renderer" "GL Version (string)" "GL Version (integer)" "GLSL Version"; do
    grep -qF "$line : " "$BB_DIR/console.txt" || bb_fail "the context report lacks $line"
done
lights=$(grep -E "^Light(Number|Count|Type): " "$BB_DIR/console.txt" | tr '\n' ' ')
expected="LightNumber: 0 LightCount: 1 LightType: 1 LightNumber: 1 LightCount: 2 LightType: 0"
expected="$expected LightNumber: 2 LightCount: 3 LightType: 1 "
[ "$lights" = "$expected" ] || bb_fail "the light lines are: $lights"
bb_finish
