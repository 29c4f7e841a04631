# Shared by the damage tests (test_damage_*.sh): the real game with one thing broken at a time, all
# games of a script on one X server. Source it instead of harness.sh:
#   source "$(dirname "$0")/damage.sh"
#   damage_case "vertex source missing" "" 'rm "$1/Shader/test.vert"' \
#       expect_fatal "Failed to open shader file: Shader/test.vert"
#   damage_finish 1
# A case's prepare step is shell code run with the run folder copy as $1 before the game starts;
# its check runs while the game runs and sees it end.
# Every case also fails on a sanitizer report or a core-dump line in the console.
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

DAMAGE_CASES=0
DAMAGE_FAILED=()
DAMAGE_REPORT="$BB_ARTIFACTS/cases.txt"
: >"$DAMAGE_REPORT"


# Sets DAMAGE_STATUS to the game's exit status once it has ended (waits up to 30 seconds), or to
# "hang" (the game is then killed by bb_next_game).
damage_wait_exit()
{
    for _ in $(seq 300); do
        kill -0 "$BB_GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$BB_GAME_PID" 2>/dev/null; then
        DAMAGE_STATUS=hang
        return
    fi
    wait "$BB_GAME_PID"
    DAMAGE_STATUS=$?
    BB_GAME_PID=""
}

# The game must stop with status 255 (exit(-1)) and print these lines, in this order.
expect_fatal()
{
    damage_wait_exit
    [ "$DAMAGE_STATUS" = 255 ] || bb_fail "exit status $DAMAGE_STATUS, expected 255"
    [ $# -gt 0 ] && bb_expect_console_order "$@"
}

# The game must start, leave the start screen on Enter, run play frames (proven by H hiding the
# window, a command only play obeys), and end with status 0 on Escape.
expect_plays()
{
    PLAYED_WINDOW_SIZE=""
    bb_wait_window || { damage_wait_exit; return; }
    PLAYED_WINDOW_SIZE=$(bb_window_size)
    # The frame loop starts right after the world assembly's last activator line.
    bb_wait_console "z:230" || { damage_wait_exit; return; }
    local played=no
    for _ in 1 2 3 4 5 6; do
        sleep 0.4
        xdotool key Return
        sleep 0.4
        xdotool key h
        sleep 0.6
        if ! xdotool search --onlyvisible --name '^Vellmar' >/dev/null 2>&1; then
            played=yes
            break
        fi
        kill -0 "$BB_GAME_PID" 2>/dev/null || break
    done
    if [ "$played" = yes ]; then
        # The game shows its hidden window again by itself, where the keys reach it.
        for _ in $(seq 100); do
            xdotool search --onlyvisible --name '^Vellmar' >/dev/null 2>&1 && break
            sleep 0.1
        done
        sleep 0.3
    else
        bb_fail "the game never reached play"
    fi
    xdotool key Escape 2>/dev/null
    damage_wait_exit
    [ "$DAMAGE_STATUS" = 0 ] || bb_fail "exit status $DAMAGE_STATUS, expected 0"
}

# Plays, and the console never names the given file.
expect_plays_silently()
{
    expect_plays
    grep -qF "$1" "$BB_DIR/console.txt" && bb_fail "the console names $1"
}

# damage_case <name> <config.ini contents or ""> <prepare code or -> <check function> [check args...]
damage_case()
{
    local name="$1" config="$2" prepare="$3" check="$4"
    shift 4
    local failedBefore=$BB_FAILED
    BB_FAILED=0
    DAMAGE_STATUS=""
    if [ "$prepare" = - ]; then
        unset -f bb_prepare_run
    else
        eval "bb_prepare_run() { $prepare; }"
    fi
    bb_start "$config"
    "$check" "$@"
    if grep -qE "^(==[0-9]+==ERROR|SUMMARY: (Address|Undefined|Leak)Sanitizer)|runtime error:" "$BB_DIR/console.txt"; then
        bb_fail "sanitizer report"
    fi
    DAMAGE_CASES=$((DAMAGE_CASES + 1))
    # What the player saw: the first line that is not part of a normal start-up.
    local seen
    seen=$(grep -vE "^(WIDTH|HEIGHT|REFRESH_RATE|FULLSCREEN)=|^GL |^GLSL |^Warning: PhysX|^Aktivator|^Light|^Press Enter|^$" \
        "$BB_DIR/console.txt" | head -n 3 | tr '\n' '|' | cut -c1-220)
    printf '%s\t%s\t%s\n' "$name" "$DAMAGE_STATUS" "$seen" >>"$DAMAGE_REPORT"
    if [ "$BB_FAILED" != 0 ]; then
        DAMAGE_FAILED+=("$name")
        bb_log "case '$name' failed; console was:"
        sed 's/^/    /' "$BB_DIR/console.txt" | head -n 60
        cp "$BB_DIR/console.txt" "$BB_ARTIFACTS/console-$DAMAGE_CASES.txt"
    else
        bb_log "case '$name': status $DAMAGE_STATUS"
        BB_FAILED=$failedBefore
    fi
    [ ${#DAMAGE_FAILED[@]} -gt 0 ] && BB_FAILED=1
    bb_next_game
}

# Every case must have run: a script that stops early fails.
damage_finish()
{
    [ "$DAMAGE_CASES" = "$1" ] || bb_fail "$DAMAGE_CASES damage cases ran, expected $1"
    if [ ${#DAMAGE_FAILED[@]} -gt 0 ] || [ "$BB_FAILED" != 0 ]; then
        bb_log "failed cases: ${DAMAGE_FAILED[*]}"
        exit 1
    fi
    bb_log "all $DAMAGE_CASES damage cases passed"
    exit 0
}

# The line after the given one must be there and hold text: the driver's log.
expect_log_after()
{
    local number next
    number=$(grep -nxF -- "$1" "$BB_DIR/console.txt" | head -n1 | cut -d: -f1)
    [ -n "$number" ] || { bb_fail "console lacks the line: $1"; return 1; }
    next=$(sed -n "$((number + 1))p" "$BB_DIR/console.txt")
    case "$next" in
    "" | "Press Enter to continue . . .") bb_fail "no log after: $1" ;;
    esac
}

expect_compile_failure()
{
    expect_fatal "Failed to compile shader$1" "Press Enter to continue . . ."
    expect_log_after "Failed to compile shader$1"
}

expect_link_failure()
{
    expect_fatal "Failed to link shader program" "Press Enter to continue . . ."
    expect_log_after "Failed to link shader program"
}

# What an empty source gives is the driver's choice: a compile failure of that source or a link failure.
expect_compile_or_link_failure()
{
    expect_fatal
    if grep -qxF "Failed to compile shader$1" "$BB_DIR/console.txt"; then
        expect_log_after "Failed to compile shader$1"
    else
        expect_log_after "Failed to link shader program"
    fi
}

# Replaces count bytes at offset of a file with the given bytes (printf format).
patch_bytes() { printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
