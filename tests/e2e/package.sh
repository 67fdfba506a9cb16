#!/usr/bin/env bash
# The Debian package as a user gets it: installed with dpkg, its program started from its
# desktop entry's Exec line, a dot heard. The package is removed afterwards unless it was
# installed before the test.
#
#   package.sh PACKAGE_FOLDER TONE_SEGMENTS
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
tone_segments=$2
package=$(ls "$1"/varnock_*.deb)

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo -n)
installed_before=$(dpkg-query -W -f='${Status}' varnock 2>/dev/null || true)
cleanup() {
    end_app_test
    if [ "$installed_before" != "install ok installed" ]; then
        "${sudo[@]}" dpkg -r varnock >/dev/null 2>&1 || true
    fi
}
trap cleanup EXIT

check "the package installs" "${sudo[@]}" dpkg -i "$package"
check "dpkg has it installed" test "$(dpkg-query -W -f='${Status} ${Version}' varnock)" = "install ok installed 0.1"
entry=/usr/share/applications/org.varnock.Varnock.desktop
check "the desktop entry is installed" test -f "$entry"
check "the manual page is installed" test -f /usr/share/man/man1/varnock.1.gz
# The Exec line's command, found on the PATH as a launcher finds it.
exec_line=$(sed -n 's/^Exec=//p' "$entry")
echo "Exec: $exec_line"
check "the Exec line's program is the installed one" test "$(command -v "${exec_line%% *}")" = /usr/bin/varnock

read -r -a command <<<"$exec_line"
start_app "${command[@]}"
activate_window "$app_window"
record_keys Left
check "the installed program sounds its dot" test "$(morse_heard "$recording")" = "."
check "it printed nothing" test ! -s "$app_log"
finish
