#!/usr/bin/env bash
# A session with real keys and mouse: the configured window, the start picture upright and whole,
# Enter into play, H hiding the window until it comes back by itself, a click on the pause menu's
# 1280 x 720 entry resizing the window, Escape ending with 0, and the start-up console story.
# A missing screen picture is reported and the game plays all the same.
source "$(dirname "$0")/harness.sh"
# Upright the start picture is blue | white over red | green; stored bottom row first.
bb_start "WIDTH=1024\nHEIGHT=768\nREFRESH_RATE=60\nFULLSCREEN=0\n" \
    'convert -size 128x128 xc:blue xc:white +append \( xc:red xc:lime +append \) -append -flip \
        -define dds:compression=dxt1 "$1/Scene/start.dds" && rm "$1/Scene/gameOver.dds"'
bb_wait_window || bb_finish
[ "$(bb_window_size)" = 1024x768 ] || bb_fail "window is $(bb_window_size), expected 1024x768"
[ "$(xdotool getwindowname "$BB_WINDOW")" = Vellmar ] || bb_fail "window title is not Vellmar"
# A 1600-unit square from the lower left of a 1600 x 1200 unit window: its lower half fills the
# lower two thirds of the window. Pixels inside each colour, at the corners and across the borders.
red_shown() { bb_shot start && [ "$(bb_pixel start 256 512)" = "255 0 0" ]; }
bb_pixel() { convert "$BB_ARTIFACTS/$1.png" -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info: 2>/dev/null; }
bb_until 60 red_shown || bb_fail "the start picture never showed"
while read -r x y colour; do
    [ "$(bb_pixel start "$x" "$y")" = "$colour" ] || bb_fail "start picture at $x,$y is $(bb_pixel start "$x" "$y"), not $colour"
done <<'PIXELS'
3 3 0 0 255
1020 3 255 255 255
3 764 255 0 0
1020 764 0 255 0
256 240 0 0 255
256 272 255 0 0
496 512 255 0 0
528 512 0 255 0
PIXELS
bb_play || bb_finish
bb_shot playing
bb_key p
bb_until 30 bb_left playing pause_menu || bb_fail "P did not show the pause menu"
# The middle entry (rows 1/2 to 8/12); its picture shows once the game has seen the button up there.
xdotool mousemove --window "$BB_WINDOW" 512 448
bb_until 30 bb_left pause_menu hover 5 || bb_fail "the pause menu did not see the cursor"
resized() { [ "$(bb_window_size)" = 1280x720 ]; }
xdotool mousedown 1
bb_until 30 resized || bb_fail "the click left the window at $(bb_window_size)"
xdotool mouseup 1
bb_key Escape
bb_expect_exit 0
bb_expect_order "WIDTH=1024" "HEIGHT=768" "REFRESH_RATE=60" "FULLSCREEN=false" \
    "GL Vendor : Mesa/X.org" "Aktivator position: x: 0, y:0, z:22" "Aktivator position: x: 0, y:0, z:105" \
    "Aktivator position: x: 0, y:0, z:230" "LightNumber: 0"
grep -qE "^GL Version \(integer\) : [0-9]+\.[0-9]+$" "$BB_CONSOLE" || bb_fail "no integer version line"
for line in "GL Renderer : ." "GL Version (string) : ." "GLSL Version : ."; do
    grep -q "^$line" "$BB_CONSOLE" || bb_fail "the context report lacks $line"
done
lights=$(grep -E "^Light(Number|Count|Type): " "$BB_CONSOLE" | tr '\n' ' ')
[ "$lights" = "LightNumber: 0 LightCount: 1 LightType: 1 LightNumber: 1 LightCount: 2 LightType: 0 LightNumber: 2 LightCount: 3 LightType: 1 " ] ||
    bb_fail "the light lines are: $lights"
bb_expect_console "Scene/gameOver.dds could not be opened. Are you in the right directory ? Don't forget to read the FAQ !"
bb_refuse_console "^Scene/start.dds could not be opened"
bb_finish
