#!/usr/bin/env bash
# Runs mole.exe under Wine on a virtual X display. First the shortest way through it: the
# full-screen window of class "mole" showing the desktop, the emergency dialog, No, the
# decline dialog, OK, and the process ending with exit code 0. Then a second run into play,
# ended by a close request, which must end it at once, without a dialog, also with code 0.
#   tests/win32/wine_smoke.sh build-windows/mole.exe
# Needs wine64, xvfb, xdotool, imagemagick, x11-utils and the MinGW-w64 compiler (for the
# probe that looks at the Win32 side of the windows). Every wait has a time limit.
set -euo pipefail

exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
work=$(mktemp -d /tmp/mole-wine.XXXXXX)
width=1024
height=768

xvfb_pid=""
mole_pid=""
passed=0
cleanup() {
    [ -n "$mole_pid" ] && kill "$mole_pid" 2>/dev/null || true
    WINEPREFIX="$work/prefix" timeout 20 "$(dirname "$wine")/wineserver64" -k 2>/dev/null ||
        WINEPREFIX="$work/prefix" timeout 20 wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if [ "$passed" = 1 ]; then
        rm -rf "$work"
    else
        echo "wine smoke: failed; screenshots and Wine's output are in $work" >&2
    fi
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A display number nobody uses.
display=""
for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || fail "no free X display number"
Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

# A desktop with a vertical gradient, so that a picture shown upside down or shifted would
# not match.
convert -size "${width}x${height}" gradient:'#ff2000-#0020ff' "$work/desktop.png"
timeout 20 display -window root "$work/desktop.png" >/dev/null 2>&1 || true

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64
# No prompts to install Mono or Gecko, which the program does not need.
export WINEDLLOVERRIDES="mscoree=;mshtml="
start=$(date +%s)
timeout 180 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot did not finish"
echo "wine prefix ready in $(($(date +%s) - start)) s"

x86_64-w64-mingw32-g++-posix -O2 -static -o "$work/probe.exe" "$here/probe.cpp"

timeout 120 "$wine" "$exe" >"$work/mole.log" 2>&1 &
mole_pid=$!

timeout 60 "$wine" "$work/probe.exe" window || fail "no full-screen window of class mole"

wait_title() {
    local title=$1 id=""
    for _ in $(seq 1 150); do
        id=$(timeout 5 xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && break
        sleep 0.2
    done
    [ -n "$id" ] || fail "no window titled $title"
    echo "$id"
}

# Presses a key in the dialog titled $1 until the dialog closes: a key that arrives while
# Wine is still activating a new box can be lost.
answer() {
    local title=$1 key=$2 id
    id=$(wait_title "$title")
    for _ in 1 2 3 4 5; do
        sleep 0.3
        timeout 10 xdotool windowfocus --sync "$id" 2>/dev/null || true
        timeout 10 xdotool key "$key"
        for _ in $(seq 1 10); do
            timeout 5 xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -qx "$id" ||
                return 0
            sleep 0.2
        done
    done
    fail "the dialog $title does not take the key $key"
}

wait_title '緊急事態発生' >/dev/null
timeout 60 "$wine" "$work/probe.exe" intro || fail "the emergency dialog is not as it should be"

# Repaint the real desktop black: what is still seen around the dialog is then the game's
# own window showing its snapshot.
convert -size "${width}x${height}" xc:black "$work/black.png"
timeout 20 display -window root "$work/black.png" >/dev/null 2>&1 || true
import -window root "$work/intro.png"
for corner in "+0+0" "+$((width - 200))+$((height - 200))" "+0+$((height - 200))"; do
    diff=$(compare -metric AE -fuzz 2% "$work/intro.png[200x200$corner]" \
        "$work/desktop.png[200x200$corner]" null: 2>&1 || true)
    [ "$diff" = "0" ] || fail "the window does not show the desktop at $corner ($diff pixels differ)"
done
echo "ok: the window shows the desktop as it was"

answer '緊急事態発生' n
wait_title '戦術的撤退' >/dev/null
echo "ok: No brings the decline dialog"
import -window root "$work/decline.png"
answer '戦術的撤退' Return

# Waits up to 30 s for mole.exe to end; fails unless it ended with exit code 0.
wait_exit() {
    for _ in $(seq 1 150); do
        kill -0 "$mole_pid" 2>/dev/null || break
        sleep 0.2
    done
    kill -0 "$mole_pid" 2>/dev/null && fail "mole.exe is still running"
    local status=0
    wait "$mole_pid" || status=$?
    mole_pid=""
    [ "$status" = 0 ] || fail "mole.exe ended with exit code $status"
}

wait_exit
echo "ok: OK ends mole.exe with exit code 0"

timeout 20 display -window root "$work/desktop.png" >/dev/null 2>&1 || true
timeout 120 "$wine" "$exe" >>"$work/mole.log" 2>&1 &
mole_pid=$!
answer '緊急事態発生' y
answer 'ブリーフィング' Return
sleep 2
import -window root "$work/play.png"
# Holes and moles now show over the desktop: some pixels differ, most do not.
diff=$(compare -metric AE -fuzz 2% "$work/play.png" "$work/desktop.png" null: 2>&1 || true)
[ "$diff" -gt 0 ] 2>/dev/null && [ "$diff" -lt $((width * height / 10)) ] ||
    fail "in play the window should show the desktop with holes ($diff pixels differ)"
echo "ok: play shows holes in the desktop ($diff pixels differ)"
timeout 60 "$wine" "$work/probe.exe" close || fail "could not ask the window to close"
wait_exit
for title in '悲劇的結末' '戦術的撤退' '禁断の選択'; do
    [ -z "$(timeout 5 xdotool search --name "^$title\$" 2>/dev/null || true)" ] ||
        fail "a close request showed the dialog $title"
done
echo "ok: a close request during play ends mole.exe at once with exit code 0"
passed=1
echo "wine smoke: ok"
