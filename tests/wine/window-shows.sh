#!/usr/bin/env bash
# Run under xvfb-run from the unpacked package: pelzo-config.exe must show its
# window whatever the ports do (Wine's COM1 is /dev/ttyS0, a port with
# nothing on it). Gives up after a minute, which only a hang takes.
set -u
wine ./pelzo-config.exe >/dev/null 2>&1 &
for _ in $(seq 1 60); do
    sleep 1
    if xwininfo -root -tree 2>/dev/null | grep -q '"PELZO aprs config"'; then
        echo "wine package: pelzo-config shows its window"
        wineserver -k
        exit 0
    fi
done
echo "pelzo-config.exe from the package showed no window within a minute"
wineserver -k
exit 1
