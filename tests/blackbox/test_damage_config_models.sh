#!/usr/bin/env bash
# config.ini missing, empty, garbled, with huge numbers or negative sizes; each model missing, one
# unreadable and one whose material file would crash the import library. Settings the window
# library refuses end the game with its message and status 255; everything else plays on.
source "$(dirname "$0")/damage.sh"

# The window must have the size the configuration gives.
expect_plays_at()
{
    local size="$1"
    shift
    expect_plays
    bb_expect_console_order "$@"
    grep -q "^GL Vendor" "$BB_DIR/console.txt" || bb_fail "no context report"
    [ -n "$size" ] && [ "$PLAYED_WINDOW_SIZE" != "$size" ] && bb_fail "window was $PLAYED_WINDOW_SIZE, expected $size"
}

expect_window_failure()
{
    expect_fatal "$@" "Window failed to load!" "Press Enter to continue . . ."
    grep -q "^GL Vendor" "$BB_DIR/console.txt" && bb_fail "the game went on after the window failed"
}

damage_case "config.ini missing" "" - expect_plays_at 800x600 "config.ini not found" "GL Vendor : Mesa/X.org"
damage_case "config.ini empty" "" ': >"$1/config.ini"' expect_plays_at 800x600 \
    "WIDTH=800" "HEIGHT=600" "REFRESH_RATE=60" "FULLSCREEN=false"
# Random bytes with line feeds, NULs and bytes above 127; none of it a setting.
damage_case "config.ini binary garbage" "" \
    "python3 -c 'import random,sys; r=random.Random(11); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(4096)))' >\"\$1/config.ini\"" \
    expect_plays_at 800x600 "WIDTH=800" "HEIGHT=600" "REFRESH_RATE=60" "FULLSCREEN=false"
# Beyond any int: refused by name, the defaults stay.
damage_case "config.ini huge sizes" "WIDTH=99999999999999999999\nHEIGHT=99999999999999999999\n" - \
    expect_plays_at 800x600 "config.ini: WIDTH=99999999999999999999 is out of range, ignored" \
    "config.ini: HEIGHT=99999999999999999999 is out of range, ignored" "WIDTH=800" "HEIGHT=600"
damage_case "config.ini huge refresh rate" "WIDTH=640\nHEIGHT=480\nREFRESH_RATE=99999999999999999999\n" - \
    expect_plays_at 640x480 "WIDTH=640" "HEIGHT=480" "REFRESH_RATE=60"
damage_case "config.ini negative sizes" "WIDTH=-800\nHEIGHT=-600\n" - \
    expect_window_failure "WIDTH=-800" "HEIGHT=-600" "REFRESH_RATE=60" "FULLSCREEN=false"

# A node whose model is missing says so and has no mesh; the hall is loaded without a node.
for model in tutroom combine combineRotor statue giantCowHigh GiantCowLow CompanionCube; do
    path="Scene/$model.obj"
    if [ "$model" = tutroom ]; then
        damage_case "$path missing" "" "rm \"\$1/$path\"" expect_plays_at "" "File was not loaded $path"
    else
        damage_case "$path missing" "" "rm \"\$1/$path\"" expect_plays_at "" \
            "File was not loaded $path" "No mesh loaded from $path; the node has no mesh"
    fi
done
# Assimp reads binary bytes as a model without a single mesh: the statues report that they have none.
damage_case "Scene/statue.obj binary garbage" "" \
    "head -c 3000 \"\$1/vellmar\" >\"\$1/Scene/statue.obj\"" expect_plays_at "" \
    "No mesh loaded from Scene/statue.obj; the node has no mesh"
# A material file that sets a colour before naming its first material.
damage_case "Scene/CompanionCube.mtl setting before newmtl" "" \
    "sed -i '/^newmtl/d' \"\$1/Scene/CompanionCube.mtl\"" expect_plays_at "" \
    "File was not loaded Scene/CompanionCube.obj" "No mesh loaded from Scene/CompanionCube.obj; the node has no mesh"
damage_finish 15
