#!/usr/bin/env bash
# The real game with one file damaged at a time, one case per kind of fault: what the console says
# and how the game ends (every file of a kind goes through the same code).
source "$(dirname "$0")/harness.sh"
# damage <config.ini> <prepare code> <check...>
damage() { bb_start "$1" "$2"; shift 2; "$@"; bb_next_game; }
plays_at() { bb_plays; [ "$BB_SIZE" = "$1" ] || bb_fail "window was $BB_SIZE, not $1"; bb_expect_console "$2"; }
plays_saying() { bb_plays; bb_expect_console "$1"; }
plays_silently() { bb_plays; bb_refuse_console "$1"; }
# The line after the failure holds the driver's log.
fails_with_log() { bb_fatal "$1" "Press Enter to continue . . ."; grep -A1 -xF "$1" "$BB_CONSOLE" | sed -n 2p | grep -q '^.\+$' || bb_fail "no log after $1"; }
# The line before the load-failed line names the picture.
texture_refused() { bb_fatal; grep -B1 -E "^Image load failed - IL reports error: $1\$" "$BB_CONSOLE" | head -1 | grep -qF "${2:-$texture}: " ||
    bb_fail "no load-failed line after the picture's name: $1"; bb_refuse_console "^Press Enter"; }
texture=Scene/$(sed -n 's/^map_Kd \(.*\)$/\1/p' "$VELLMAR_RUN_DIR/Scene/statue.mtl" | head -1)
damage "" "" plays_at 800x600 "config.ini not found"
# The window library's own gamepad side: a mapping file beside config.ini taken silently, a damaged one named.
pads='03000000de280000ff11000001000000,My Pad,a:b0,b:b1,leftx:a0,lefty:a1,platform:Linux,'
damage "WIDTH=800\n" "echo '$pads' >\"\$1/gamecontrollerdb.txt\"" plays_silently gamecontrollerdb
damage "WIDTH=800\n" "printf '$pads\\n03,x\\n' >\"\$1/gamecontrollerdb.txt\"" plays_saying \
    "gamecontrollerdb.txt: line 2 is no gamepad mapping, the file is not used"
damage "WIDTH=-800\nHEIGHT=-600\n" "" bb_fatal "WIDTH=-800" "HEIGHT=-600" "Window failed to load!" "Press Enter to continue . . ."
damage "" 'truncate -s 3000 "$1/Scene/gameOver.dds"' plays_saying "Scene/gameOver.dds: cut before the end of its first level"
# The start screen as one level without a level count, as many tools write it: it is drawn.
one_level() { n=$(od -An -tu4 -j20 -N4 "$1"); head -c $((128 + n)) "$1" >"$1.one" && mv "$1.one" "$1" &&
    printf '\x07\x10\x08\x00' | dd of="$1" bs=1 seek=8 conv=notrunc status=none && printf '\0\0\0\0' | dd of="$1" bs=1 seek=28 conv=notrunc status=none; }
damage "" 'one_level "$1/Scene/start.dds"' plays_silently Scene/start.dds
damage "" 'rm "$1/Shader/test.vert"' bb_fatal "Failed to open shader file: Shader/test.vert" "Press Enter to continue . . ."
damage "" "echo 'not a shader {' >\"\$1/Shader/TextShader.frag\"" fails_with_log "Failed to compile shaderShader/TextShader.frag"
# Compiles alone, but every stage of a program needs a main function.
damage "" "printf '#version 130\\nvoid helper() {}\\n' >\"\$1/Shader/depthShader.vert\"" fails_with_log "Failed to link shader program"
hall_refused() { bb_fatal "File was not loaded Scene/tutroom.obj: $1" "Scene/tutroom.obj holds the hall: the game cannot be played without it" "Press Enter to continue . . ."; }
damage "" 'rm "$1/Scene/tutroom.obj"' hall_refused 'Unable to open file "Scene/tutroom.obj".'
# A file of another kind under the hall's name: the OBJ reader takes it and finds no mesh. Fixed bytes,
# not the head of the game's binary, whose build id changes what the reader makes of it.
foreign="printf '\\177ELF\\2\\1\\1 not a model\\n'"
damage "" "$foreign >\"\$1/Scene/tutroom.obj\"" hall_refused "Validation failed: aiScene::mNumMeshes is 0. At least one mesh must be there"
damage "" "$foreign >\"\$1/Scene/statue.obj\"" plays_saying "No mesh loaded from Scene/statue.obj; the node has no mesh"
damage "" "rm \"\$1/$texture\"" texture_refused "[0-9]+ - .+"
damage "" "truncate -s 9000 \"\$1/$texture\"" texture_refused "1298 - file read error"
damage "" "printf '\\xff\\xff\\xff\\xff' | dd of=\"\$1/$texture\" bs=1 seek=12 conv=notrunc status=none" \
    texture_refused "1288 - invalid file header"
# A damaged GIF named by a material: stb_image refuses it, DevIL never sees it.
damage "" "printf 'GIF89a\\002\\000\\002\\000\\367\\000\\000%040d' 0 | tr 0 '\\356' >\"\$1/Scene/damaged.gif\" &&
    sed -i 's/^map_Kd .*/map_Kd damaged.gif/' \"\$1/Scene/statue.mtl\"" texture_refused "1298 - file read error" Scene/damaged.gif
[ "$BB_CASES" = 16 ] || bb_fail "only $BB_CASES cases ran"
bb_finish
