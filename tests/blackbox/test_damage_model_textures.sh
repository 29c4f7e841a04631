#!/usr/bin/env bash
# A model texture as random bytes, cut halfway through its pixels, or with a header claiming a
# 65535 × 65535 picture: the image library's load-failed line with the reason, status 255 at
# once, never a signal.
source "$(dirname "$0")/damage.sh"

texture=Scene/statue_stone.tga

# The game must end with 255 and print the load-failed line matching the pattern.
expect_texture_refused()
{
    damage_wait_exit
    [ "$DAMAGE_STATUS" = 255 ] || bb_fail "exit status $DAMAGE_STATUS, expected 255"
    grep -qE "^Image load failed - IL reports error: $1\$" "$BB_DIR/console.txt" ||
        bb_fail "no load-failed line matching: $1"
    grep -q "^Press Enter" "$BB_DIR/console.txt" && bb_fail "the image failure waited at the console"
}

damage_case "$texture random bytes" "" \
    "python3 -c 'import random,sys; r=random.Random(7); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(4096)))' >\"\$1/$texture\"" \
    expect_texture_refused "[0-9]+ - .+"
damage_case "$texture cut halfway" "" \
    "truncate -s \$((\$(stat -c %s \"\$1/$texture\") / 2)) \"\$1/$texture\"" \
    expect_texture_refused "1298 - file read error"
damage_case "$texture claims 65535 x 65535" "" "patch_bytes \"\$1/$texture\" 12 '\\xff\\xff\\xff\\xff'" \
    expect_texture_refused "1288 - invalid file header"
damage_finish 3
