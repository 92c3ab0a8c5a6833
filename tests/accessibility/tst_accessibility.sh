#!/usr/bin/env bash
# Runs the window under Xvfb with Qt's AT-SPI bridge on and walks it as a
# screen reader does (screenreader.py). Skips, saying what is missing, when
# the packages are not there, unless PELZO_REQUIRE_ACCESSIBILITY is set.
set -u
program=$1
here=$(cd "$(dirname "$0")" && pwd)
missing=()
for tool in xvfb-run xauth dbus-run-session xdotool; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
    needs="the accessibility check needs ${missing[*]} (Debian: xvfb xauth dbus-daemon xdotool at-spi2-core python3-pyatspi)"
    [ -n "${PELZO_REQUIRE_ACCESSIBILITY:-}" ] && { echo "FAIL: $needs"; exit 1; }
    echo "SKIP: $needs"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy keeps its port-settings file in its own folder, not in the build.
cp "$program" "$work/pelzo-config"
cat >"$work/session.sh" <<SESSION
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$work
"$work/pelzo-config" & app=\$!
/usr/bin/python3 "$here/screenreader.py"
status=\$?
kill \$app
wait \$app 2>/dev/null
exit \$status
SESSION
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$work/session.sh"
