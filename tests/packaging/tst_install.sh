#!/usr/bin/env bash
# Installs into a throwaway prefix and builds the Debian package, then checks
# what a user of either would meet: the files in place, a desktop entry that
# validates, and a program that starts from a folder it cannot write to and
# keeps its files in the user's configuration folder instead.
set -u
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${user:-}" ] && userdel "$user" 2>/dev/null' EXIT
failures=0
check() { # description, command...
    local what=$1; shift
    if "$@"; then echo "PASS   : $what"; else echo "FAIL!  : $what"; failures=$((failures + 1)); fi
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
check "program installed" test -x "$prefix/bin/pelzo-config"
check "emulator installed" test -x "$prefix/bin/pelzo-sim"
check "command line installed" test -x "$prefix/bin/pelzo-cli"
check "man page installed" test -f "$prefix/share/man/man1/pelzo-cli.1"
if command -v man >/dev/null; then
    check "man page renders" bash -c "man -l '$source/packaging/pelzo-cli.1' 2>&1 | grep -q 'EXIT STATUS'"
fi
check "bash completion installed" test -f "$prefix/share/bash-completion/completions/pelzo-cli"
check "bash completion completes commands" bash -c "source '$prefix/share/bash-completion/completions/pelzo-cli'; COMP_WORDS=(pelzo-cli wr); COMP_CWORD=1; _pelzo_cli; [ \"\${COMPREPLY[*]}\" = write ]"
check "installed command line needs no display" bash -c "env -u DISPLAY QT_QPA_PLATFORM= '$prefix/bin/pelzo-cli' defaults | grep -q CALLSIGN:NOCALL-10"
check "desktop entry installed" test -f "$prefix/share/applications/pelzo-config.desktop"
check "icon installed" test -f "$prefix/share/icons/hicolor/scalable/apps/pelzo-config.svg"
check "desktop entry validates" desktop-file-validate "$source/packaging/pelzo-config.desktop"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null 2>&1)
deb=$(ls "$work"/pelzo-config_*.deb 2>/dev/null | head -n 1)
check "Debian package built" test -n "$deb"
if [ -n "$deb" ]; then
    contents=$(dpkg-deb --contents "$deb")
    for f in ./usr/bin/pelzo-config ./usr/bin/pelzo-sim ./usr/bin/pelzo-cli ./usr/share/man/man1/pelzo-cli.1 \
             ./usr/share/bash-completion/completions/pelzo-cli ./usr/share/applications/pelzo-config.desktop \
             ./usr/share/icons/hicolor/scalable/apps/pelzo-config.svg; do
        check "package holds $f" grep -q " $f\$" <<<"$contents"
    done
    check "package depends on the Qt runtime and a CJK font" \
        bash -c "dpkg-deb -f '$deb' Depends | grep -q libqt6serialport6 && dpkg-deb -f '$deb' Depends | grep -q fonts-wqy-microhei"
fi

if [ "$(id -u)" -eq 0 ]; then
    # Root writes anywhere, so the installed copy is started as a plain user.
    user=pelzo-inst-$$
    useradd -M -d "$work/home" "$user"
    mkdir -p "$work/home"
    chown "$user" "$work/home"
    chmod -R a+rX "$work"
    touch "$work/started"
    runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
        QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/pelzo-config" >/dev/null 2>&1
    status=$?
    check "installed program keeps running until stopped" test "$status" -eq 124
    check "installed program uses the per-user folder" test -d "$work/home/.config/pelzo-config"
    check "installed program writes nothing beside itself" test -z "$(find "$prefix" -newer "$work/started")"
else
    echo "SKIP   : start as a plain user (needs root to create one)"
fi

echo "Totals: $failures failed"
[ "$failures" -eq 0 ]
