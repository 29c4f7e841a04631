#!/usr/bin/env bash
# The start screen shows the start picture upright and whole across the window; Enter leaves it
# and Escape ends the game. A missing screen picture is reported and the game starts all the same.
source "$(dirname "$0")/harness.sh"

bb_prepare_run()
{
    mkdir -p "$1/Scene"
    # Upright it is blue | white over red | green; stored bottom row first like every game picture.
    convert -size 128x128 xc:'#0000ff' -size 128x128 xc:'#ffffff' +append \
        \( -size 128x128 xc:'#ff0000' -size 128x128 xc:'#00ff00' +append \) -append -flip \
        -define dds:compression=dxt1 "$1/Scene/start.dds" &&
        rm -f "$1/Scene/pause.dds"
}

# The picture is a 1600-unit square from the lower left corner of a 1600 x 1200 unit window: its
# lower half fills the lower two thirds of the window, and its top quarter lies above the window.
expect_start_picture()
{
    local shot="$1" ok=0
    # x y r g b: inside each colour, near every window corner and on both sides of both borders.
    while read -r x y r g b; do
        bb_pixel_near "$shot" "$x" "$y" "$r" "$g" "$b" || { bb_log "pixel $x,$y is $(bb_pixel "$shot" "$x" "$y")"; ok=1; }
    done <<'PIXELS'
256 128 0 0 255
768 128 255 255 255
256 512 255 0 0
768 512 0 255 0
3 3 0 0 255
1020 3 255 255 255
3 764 255 0 0
1020 764 0 255 0
256 240 0 0 255
256 272 255 0 0
496 512 255 0 0
528 512 0 255 0
PIXELS
    return $ok
}

bb_start "WIDTH=1024\nHEIGHT=768\nREFRESH_RATE=60\nFULLSCREEN=0\n"
bb_wait_window || bb_finish
bb_wait_console "Scene/pause.dds could not be opened"
# Wait for the first frames to reach the screen, then look at the whole picture.
for _ in $(seq 20); do
    sleep 0.3
    bb_window_screenshot start
    bb_pixel_near start 256 512 255 0 0 && break
done
expect_start_picture start || bb_fail "the start picture is not shown upright and whole"

bb_key Return
sleep 0.5
bb_window_screenshot play
bb_pixel_near play 256 512 255 0 0 && bb_fail "Enter did not leave the start screen"
bb_key Escape
bb_expect_exit 0

bb_expect_console "Scene/pause.dds could not be opened. Are you in the right directory ? Don't forget to read the FAQ !"
grep -q "^Scene/start.dds could not be opened" "$BB_DIR/console.txt" && bb_fail "the start picture was not found"
bb_finish
