#!/usr/bin/env bash
# Started with no display to open a window on, the program says so in one line and ends
# with status 1, without dumping core.
set -uo pipefail
here=$(dirname "$0")
source "$here/app.sh"

errors=$scratch/errors
for display in none ":97"; do
    status=0
    if [ "$display" = none ]; then
        env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$1" 2>"$errors" >/dev/null || status=$?
    else
        env -u WAYLAND_DISPLAY DISPLAY="$display" timeout 20 "$1" 2>"$errors" >/dev/null || status=$?
    fi
    cat "$errors"
    check "display '$display': status 1" test "$status" -eq 1
    check "display '$display': one line on standard error" test "$(wc -l <"$errors")" -eq 1
    check "display '$display': it says why" grep -q "^varnock: cannot open a window: .*display" "$errors"
done
finish
