#!/usr/bin/env bash
# Each of the six shader sources missing, empty, not compiling and not linking: the game reports the
# failure with the driver's log, waits at the console (closed input ends the wait at once) and
# exits with status 255.
source "$(dirname "$0")/damage.sh"

for shader in test.vert test.frag TextShader.vert TextShader.frag depthShader.vert depthShader.frag; do
    path="Shader/$shader"
    damage_case "$path missing" "" "rm \"\$1/$path\"" \
        expect_fatal "Failed to open shader file: $path" "Press Enter to continue . . ."
    damage_case "$path not compiling" "" "printf 'this is not a shader {\\n' >\"\$1/$path\"" \
        expect_compile_failure "$path"
    # Compiles on its own, but every stage of a program needs a main function.
    damage_case "$path not linking" "" "printf '#version 130\\nvoid helper() {}\\n' >\"\$1/$path\"" \
        expect_link_failure
    damage_case "$path empty" "" ": >\"\$1/$path\"" expect_compile_or_link_failure "$path"
done
damage_finish 24
