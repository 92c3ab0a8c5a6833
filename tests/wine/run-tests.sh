#!/usr/bin/env bash
# Runs the Windows build under Wine, in a throwaway prefix: the tests that
# need no pseudo-terminal, then the zip package unpacked on its own (a DLL or
# plugin missing from it shows there): pelzo-cli from it, and its window on
# Xvfb. Wine runs as a Chinese Windows system (code page 936), as most
# stations are set up from one.
set -euo pipefail
build="$(cd "${1:-build/windows}" && pwd)"
source="$(cd "$(dirname "$0")/../.." && pwd)"
qt="$(sed -n 's/^CMAKE_PREFIX_PATH:[A-Z]*=//p' "$build/CMakeCache.txt")"
export WINEPREFIX="$(mktemp -d /tmp/pelzo-wine.XXXXXX)" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"; }
trap cleanup EXIT
# The prefix and every program in it: Wine takes the code page from the locale its server starts in.
chinese=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
wine() { "${chinese[@]}" wine "$@"; }
wine wineboot -i >/dev/null 2>&1
# A port above COM16, as Windows often numbers a USB adapter; Wine's device
# manager reads its ports when its server starts.
wine reg add 'HKLM\Software\Wine\Ports' /v COM23 /t REG_SZ /d /dev/null /f >/dev/null 2>&1
wineserver -k && wineserver -w

failed=()
# Runs a QtTest program; its own report goes to a file, shown when it fails.
run_test() {
    local name="$1"; shift
    local report="$WINEPREFIX/drive_c/$name.txt"
    if ! timeout 300 "${chinese[@]}" wine "$build/$name.exe" -o "C:\\$name.txt,txt" "$@" >/dev/null 2>&1; then
        failed+=("$name")
        [ -f "$report" ] && grep -av '^PASS' "$report" >&2
    fi
    echo "wine $name: $(grep -a '^Totals' "$report" 2>/dev/null || echo 'no report')"
}

runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
pthread="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")"
(
    export WINEPATH="$(winepath -w "$qt/bin");$(winepath -w "$runtime");$(winepath -w "$pthread")"
    export QT_PLUGIN_PATH="$(winepath -w "$qt/plugins")" QT_QPA_PLATFORM=offscreen
    export PELZO_TEST_DATA="$(winepath -w "$source/tests/data")"
    for name in tst_units tst_outcomes tst_scenarios tst_window; do
        run_test "$name"
    done
    [ ${#failed[@]} -eq 0 ] || { echo "failed under Wine: ${failed[*]}" >&2; exit 1; }
)

# The package as an owner unpacks it: nothing from the build or Qt's folders on the path.
zip="$(ls "$build"/pelzo-config-*-win64.zip)"
unpacked="$WINEPREFIX/drive_c/pelzo"
mkdir -p "$unpacked" && (cd "$unpacked" && cmake -E tar xf "$zip")
folder="$(dirname "$(find "$unpacked" -name pelzo-cli.exe | head -1)")"
cd "$folder"
version="$(wine ./pelzo-cli.exe --version 2>/dev/null | tr -d '\r')"
echo "wine package: pelzo-cli --version says: $version"
[ -n "$version" ] || { echo "pelzo-cli.exe from the package does not start" >&2; exit 1; }
wine ./pelzo-cli.exe defaults -o x.ini >/dev/null 2>&1 || { echo "pelzo-cli.exe defaults failed" >&2; exit 1; }
cmp x.ini "$source/tests/data/golden/factory-defaults.ini" || { echo "the package's defaults differ from the golden file" >&2; exit 1; }
echo "wine package: pelzo-cli defaults wrote the factory settings file"
wine ./pelzo-cli.exe ports 2>/dev/null | tr -d '\r' | grep -q '^COM23'$'\t''COM23'$'\t' ||
    { echo "pelzo-cli.exe ports does not list COM23 by its own name" >&2; exit 1; }
echo "wine package: pelzo-cli ports lists COM23 by its own name"

# The window needs a Wine that starts on the display: the one before had none.
wineserver -k && wineserver -w
# Its shell cannot set that locale and says so on stderr; the script reports on stdout.
env -u QT_QPA_PLATFORM "${chinese[@]:1}" xvfb-run -a "$source/tests/wine/window-shows.sh" 2>/dev/null
