#!/usr/bin/env bash
# The real game with one thing broken at a time, one case per kind of damage (every file of a kind
# goes through the same code): config.ini, a screen picture, a shader source, a model, a model's
# material file and a model texture. The check says what the console shows and how the game ends.
source "$(dirname "$0")/damage.sh"

expect_plays_at()
{
    local size="$1"
    shift
    expect_plays
    bb_expect_console_order "$@"
    [ -n "$size" ] && [ "$PLAYED_WINDOW_SIZE" != "$size" ] && bb_fail "window was $PLAYED_WINDOW_SIZE, expected $size"
}
expect_window_failure()
{
    expect_fatal "$@" "Window failed to load!" "Press Enter to continue . . ."
    grep -q "^GL Vendor" "$BB_DIR/console.txt" && bb_fail "the game went on after the window failed"
}
expect_plays_reporting()
{
    expect_plays
    bb_expect_console "$1 could not be opened. Are you in the right directory ? Don't forget to read the FAQ !"
}
expect_image_failure()
{
    damage_wait_exit
    [ "$DAMAGE_STATUS" = 255 ] || bb_fail "exit status $DAMAGE_STATUS, expected 255"
    grep -qE "^Image load failed - IL reports error: [0-9]+ - .+$" "$BB_DIR/console.txt" || bb_fail "no image library message"
    grep -q "^Press Enter" "$BB_DIR/console.txt" && bb_fail "the image failure waited at the console"
}

damage_case "config.ini missing" "" - expect_plays_at 800x600 "config.ini not found" "GL Vendor : Mesa/X.org"
# Random bytes with line feeds, NULs and bytes above 127; none of it a setting.
damage_case "config.ini binary garbage" "" \
    "python3 -c 'import random,sys; r=random.Random(11); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(4096)))' >\"\$1/config.ini\"" \
    expect_plays_at 800x600 "WIDTH=800" "HEIGHT=600" "REFRESH_RATE=60" "FULLSCREEN=false"
# Beyond any int: refused by name, the defaults stay.
damage_case "config.ini huge sizes" "WIDTH=99999999999999999999\nHEIGHT=99999999999999999999\n" - \
    expect_plays_at 800x600 "config.ini: WIDTH=99999999999999999999 is out of range, ignored" \
    "config.ini: HEIGHT=99999999999999999999 is out of range, ignored" "WIDTH=800" "HEIGHT=600"
damage_case "config.ini negative sizes" "WIDTH=-800\nHEIGHT=-600\n" - expect_window_failure "WIDTH=-800" "HEIGHT=-600"

# Screen pictures: the font and the start picture are read like the other nine.
damage_case "font missing" "" 'rm "$1/Scene/VellmarFontDark.dds"' expect_plays_reporting Scene/VellmarFontDark.dds
damage_case "picture wrong magic" "" "patch_bytes \"\$1/Scene/pause.dds\" 0 'DDS!'" expect_plays_silently Scene/pause.dds
damage_case "picture cut in its header" "" 'truncate -s 100 "$1/Scene/start.dds"' expect_plays_silently Scene/start.dds
damage_case "picture cut halfway" "" 'truncate -s $(($(stat -c %s "$1/Scene/gameOver.dds") / 2)) "$1/Scene/gameOver.dds"' \
    expect_plays_silently Scene/gameOver.dds
damage_case "picture FourCC DXT2" "" "patch_bytes \"\$1/Scene/Infos.dds\" 84 'DXT2'" expect_plays_silently Scene/Infos.dds

# Shader sources: all six go through one reader, compiler and linker.
damage_case "shader missing" "" 'rm "$1/Shader/test.vert"' \
    expect_fatal "Failed to open shader file: Shader/test.vert" "Press Enter to continue . . ."
damage_case "shader not compiling" "" "printf 'this is not a shader {\\n' >\"\$1/Shader/TextShader.frag\"" \
    expect_compile_failure Shader/TextShader.frag
# Compiles on its own, but every stage of a program needs a main function.
damage_case "shader not linking" "" "printf '#version 130\\nvoid helper() {}\\n' >\"\$1/Shader/depthShader.vert\"" \
    expect_link_failure
damage_case "shader empty" "" ': >"$1/Shader/test.frag"' expect_compile_or_link_failure Shader/test.frag

# Models: the hall is loaded without a node, a statue through its node.
damage_case "hall missing" "" 'rm "$1/Scene/tutroom.obj"' expect_plays_at "" "File was not loaded Scene/tutroom.obj"
damage_case "statue garbage" "" 'head -c 3000 "$1/vellmar" >"$1/Scene/statue.obj"' expect_plays_at "" \
    "No mesh loaded from Scene/statue.obj; the node has no mesh"
damage_case "material setting before newmtl" "" "sed -i '/^newmtl/d' \"\$1/Scene/CompanionCube.mtl\"" \
    expect_plays_at "" "File was not loaded Scene/CompanionCube.obj" \
    "No mesh loaded from Scene/CompanionCube.obj; the node has no mesh"
texture=$(sed -n 's/^map_Kd \(.*\)$/\1/p' "$VELLMAR_RUN_DIR/Scene/statue.mtl" | head -1)
damage_case "model texture missing" "" "rm \"\$1/Scene/$texture\"" expect_image_failure
damage_finish 16
