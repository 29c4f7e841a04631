#!/usr/bin/env bash
# Each of the eleven screen pictures in a block format the game does not know (silently untextured,
# the game plays), and each model texture missing (the image library's message, status 255 at once).
source "$(dirname "$0")/damage.sh"

expect_image_failure()
{
    damage_wait_exit
    [ "$DAMAGE_STATUS" = 255 ] || bb_fail "exit status $DAMAGE_STATUS, expected 255"
    grep -qE "^Image load failed - IL reports error: [0-9]+ - .+$" "$BB_DIR/console.txt" ||
        bb_fail "no image library message"
    grep -q "^Press Enter" "$BB_DIR/console.txt" && bb_fail "the image failure waited at the console"
}

for picture in VellmarFontDark Infos mouse wasd start pause pause1 pause2 pause3 gameWon gameOver; do
    path="Scene/$picture.dds"
    damage_case "$path FourCC DXT2" "" "patch_bytes \"\$1/$path\" 84 'DXT2'" expect_plays_silently "$path"
done
# Every texture the game's material files name, diffuse maps and normal maps alike.
textures=$(sed -n 's/^map_\(Kd\|d\) \(.*\)$/\2/p' "$VELLMAR_RUN_DIR"/Scene/*.mtl | sort -u)
[ -n "$textures" ] || bb_fail "no model textures found in the run folder"
for file in $textures; do
    damage_case "Scene/$file missing" "" "rm \"\$1/Scene/$file\"" expect_image_failure
done
damage_finish $((11 + $(echo "$textures" | wc -w)))
