#!/usr/bin/env bash
# Starts ぽこもじ as a Wayland client of a private weston and checks that it
# opens and can be played there.
#
# 1. weston's headless backend (pixman renderer, no GPU): the program must
#    connect, keep running, give its menu an xdg_toplevel and commit a buffer
#    of the menu's client size (346 x 302, Qt's own window frame switched off so
#    the buffer is the client area), print no Qt platform errors, and a weston
#    screenshot must show the menu drawn.
# 2. If Xvfb and xdotool are there: weston's x11 backend inside Xvfb, so that
#    xdotool can type into weston and weston hands the keys to the program over
#    wl_keyboard, with Qt's usual client-side frame. Enter on the menu's first
#    button must open the practice window (a second toplevel, 1024 x 768 client
#    area), and in a second run Tab Enter must end the program with status 0
#    (the menu's tab order is katakana, おわる, hiragana).
#
# weston decides where windows go, so the menu's and practice windows' own
# centring (move()) is ignored here; nothing checks positions.
#
# Usage: wayland_check.sh PROGRAM
# Prints one line per check and "N passed, N failed" at the end; exits 1 if a
# check failed and 77 if weston or Qt's Wayland platform plugin is missing.
set -u

program=${1:?usage: wayland_check.sh PROGRAM}
MENU_SIZE=346x302
PRACTICE_W=1024
PRACTICE_H=768
PYTHON=/usr/bin/python3

skip() {
    echo "SKIP: $*"
    exit 77
}

command -v weston >/dev/null || skip "weston is not installed"
weston_modules=$(ls -d /usr/lib/*/libweston-*/ /usr/lib/libweston-*/ 2>/dev/null | head -n 1)
[[ -n "$weston_modules" && -e "$weston_modules/headless-backend.so" ]] ||
    skip "weston's headless backend is not installed"
qt_wayland=""
for dir in ${QT_PLUGIN_PATH:+${QT_PLUGIN_PATH//:/ }} /usr/lib/*/qt6/plugins /usr/lib/qt6/plugins; do
    if [[ -e "$dir/platforms/libqwayland-generic.so" ]]; then
        qt_wayland="$dir/platforms/libqwayland-generic.so"
        break
    fi
done
[[ -n "$qt_wayland" ]] || skip "Qt's Wayland platform plugin (qt6-wayland) is not installed"

# Part 2 needs an X display for weston's x11 backend: the whole check runs
# again on an Xvfb of its own, which the Python driver starts and ends.
if [[ -z ${WAYLAND_CHECK_ON_XVFB-} ]] && command -v Xvfb >/dev/null && command -v xdotool >/dev/null &&
    [[ -x $PYTHON ]]; then
    WAYLAND_CHECK_ON_XVFB=1 exec "$PYTHON" "$(dirname "$0")/display.py" -- bash "$0" "$@"
fi

passed=0
failed=0
check() {
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "PASS $name"
    else
        failed=$((failed + 1))
        echo "FAIL $name"
    fi
}

runtime=$(mktemp -d /tmp/wayland-check.XXXXXX)
chmod 700 "$runtime"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null
    done
    rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# A plain background and no panel, so a screenshot is the menu on one colour.
cat >"$runtime/weston.ini" <<'EOF'
[core]
idle-time=0

[shell]
background-image=
background-type=tile
background-color=0xff203040
panel-position=none
locking=false
EOF

# wait_for SECONDS COMMAND...: polls COMMAND every 0.1 s.
wait_for() {
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# wait_up SECONDS COMMAND...: the same, but gives up once the program has ended.
wait_up() {
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        "$@" && return 0
        running "$program_pid" || { "$@"; return; }
        sleep 0.1
    done
    return 1
}

socket_up() { [[ -S "$runtime/$1" ]]; }
running() { kill -0 "$1" 2>/dev/null; }
ended() { ! kill -0 "$1" 2>/dev/null; }
in_log() { grep -Eq -- "$2" "$1"; }

# Reads a WAYLAND_DEBUG log and prints one line per commit of a buffer on an
# xdg_toplevel's surface: "surface<TAB>width x height<TAB>title".
commits() {
    awk '
        function ids(line, out,    n) {
            n = 0
            while (match(line, /@[0-9]+/)) {
                out[++n] = substr(line, RSTART + 1, RLENGTH - 1)
                line = substr(line, RSTART + RLENGTH)
            }
            return n
        }
        / -> xdg_wm_base@[0-9]+\.get_xdg_surface\(/ { ids($0, a); surface_of[a[2]] = a[3] }
        / -> xdg_surface@[0-9]+\.get_toplevel\(/ { ids($0, a); surface_of_toplevel[a[2]] = surface_of[a[1]]; shown[surface_of[a[1]]] = 1 }
        / -> xdg_toplevel@[0-9]+\.set_title\(/ {
            ids($0, a); t = $0; sub(/^[^"]*"/, "", t); sub(/"[^"]*$/, "", t); title[surface_of_toplevel[a[1]]] = t
        }
        / -> wl_shm_pool@[0-9]+\.create_buffer\(/ {
            ids($0, a); s = $0; sub(/^[^,]*, [0-9]+, /, "", s); split(s, d, /, /); size[a[2]] = d[1] "x" d[2]
        }
        / -> wl_surface@[0-9]+\.attach\(wl_buffer@/ { ids($0, a); pending[a[1]] = size[a[2]] }
        / -> wl_surface@[0-9]+\.commit\(\)/ {
            ids($0, a)
            if ((a[1] in pending) && (a[1] in shown)) print a[1] "\t" pending[a[1]] "\t" title[a[1]]
            delete pending[a[1]]
        }
    ' "$1"
}

has_commit_of_size() { commits "$1" | awk -F'\t' -v s="$2" '$2 == s { found = 1 } END { exit !found }'; }
toplevels_committed() { [[ $(commits "$1" | cut -f1 | sort -u | wc -l) -ge $2 ]]; }
# A buffer committed on a toplevel other than the first one, at least W x H.
second_window_at_least() {
    commits "$1" | awk -F'\t' -v w="$2" -v h="$3" '
        !($1 in seen) { seen[$1] = ++n }
        seen[$1] >= 2 { split($2, d, "x"); if (d[1] + 0 >= w && d[2] + 0 >= h) found = 1 }
        END { exit !found }'
}
no_qt_errors() {
    ! grep -v '^\[' "$1" | grep -Eq 'Failed to create wl_display|Could not (load|find) the Qt platform plugin|no Qt platform plugin|qt\.qpa\.wayland|Wayland connection (broke|experienced)|Segmentation fault|Aborted|terminate called|core dumped'
}
show_other_output() {
    local lines
    lines=$(grep -v '^\[' "$1" | head -n 20)
    [[ -z "$lines" ]] || printf '  program said: %s\n' "$lines"
}

# start_program LOG EXTRA_ENV...: runs PROGRAM as a Wayland client of $socket.
start_program() {
    local log=$1
    shift
    : >"$log"
    env -u DISPLAY -u WAYLAND_SOCKET XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" \
        QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$@" "$program" 2>"$log" >/dev/null &
    program_pid=$!
    pids+=("$program_pid")
}

started=$SECONDS

# --- 1. headless ----------------------------------------------------------
socket=pokomoji-headless-$$
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --use-pixman \
    --width=1024 --height=768 --socket="$socket" --idle-time=0 --debug \
    --config="$runtime/weston.ini" --log="$runtime/weston-headless.log" \
    >"$runtime/weston-headless.out" 2>&1 &
pids+=($!)
if ! wait_for 10 socket_up "$socket"; then
    check "headless weston opens its socket" false
    sed 's/^/  weston: /' "$runtime/weston-headless.log" "$runtime/weston-headless.out" | tail -n 20
    echo "$passed passed, $failed failed"
    exit 1
fi

log=$runtime/headless.log
start_program "$log" QT_WAYLAND_DISABLE_WINDOWDECORATION=1
wait_up 10 has_commit_of_size "$log" "$MENU_SIZE"
check "the program binds xdg_wm_base (it is a Wayland client)" in_log "$log" 'bind\([0-9]+, "xdg_wm_base"'
check "the menu gets an xdg_toplevel" in_log "$log" '-> xdg_surface@[0-9]+\.get_toplevel\('
check "the menu commits a $MENU_SIZE buffer" has_commit_of_size "$log" "$MENU_SIZE"
sleep 2
check "the program still runs 2 s after showing the menu" running "$program_pid"

if [[ -x "$PYTHON" ]] && "$PYTHON" -c 'import PIL' 2>/dev/null && command -v weston-screenshooter >/dev/null; then
    mkdir "$runtime/shot"
    (cd "$runtime/shot" && XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" weston-screenshooter \
        >/dev/null 2>&1)
    shot=$(ls "$runtime"/shot/*.png 2>/dev/null | head -n 1)
    # The menu on the plain background: the pixels that differ from the
    # background must make one 346 x 302 box, with the buttons' pale yellow in it.
    check "a weston screenshot shows the $MENU_SIZE menu drawn" \
        "$PYTHON" - "${shot:-missing.png}" "$MENU_SIZE" <<'EOF'
import sys
from PIL import Image
try:
    image = Image.open(sys.argv[1]).convert("RGB")
except OSError as error:
    print("  no screenshot:", error)
    sys.exit(1)
background = image.getpixel((0, 0))
pixels = image.load()
width, height = image.size
left, top, right, bottom = width, height, -1, -1
yellow = 0
for y in range(height):
    for x in range(width):
        p = pixels[x, y]
        if max(abs(a - b) for a, b in zip(p, background)) > 8:
            left, top = min(left, x), min(top, y)
            right, bottom = max(right, x), max(bottom, y)
        if p[0] > 235 and p[1] > 235 and 180 < p[2] < 230:
            yellow += 1
box = f"{right - left + 1}x{bottom - top + 1}" if right >= 0 else "nothing"
print(f"  screenshot: window {box} at {left},{top}; {yellow} pale-yellow pixels")
sys.exit(0 if box == sys.argv[2] and yellow > 20000 else 1)
EOF
else
    echo "NOTE no screenshot check (needs python3-pil and weston-screenshooter)"
fi

check "no Qt platform errors under the headless weston" no_qt_errors "$log"
show_other_output "$log"
kill "$program_pid" 2>/dev/null
wait "$program_pid" 2>/dev/null

# --- 2. played with the keyboard -------------------------------------------
if [[ -n ${WAYLAND_CHECK_ON_XVFB-} && -e "$weston_modules/x11-backend.so" ]]; then
    socket=pokomoji-x11-$$
    XDG_RUNTIME_DIR="$runtime" weston --backend=x11-backend.so --use-pixman \
        --width=1024 --height=768 --socket="$socket" --idle-time=0 \
        --config="$runtime/weston.ini" --log="$runtime/weston-x11.log" \
        >"$runtime/weston-x11.out" 2>&1 &
    pids+=($!)
    # weston logs the X window it draws its output in: "x11 output 1024x768, window id N".
    weston_window() { sed -n 's/.*x11 output .*window id \([0-9][0-9]*\).*/\1/p' "$runtime/weston-x11.log" | head -n 1; }
    if wait_for 10 socket_up "$socket" && wait_for 5 in_log "$runtime/weston-x11.log" 'window id [0-9]+'; then
        window=$(weston_window)
        xdotool mousemove --window "$window" 1000 740 windowfocus --sync "$window" 2>/dev/null

        log=$runtime/keys.log
        start_program "$log"
        wait_up 10 toplevels_committed "$log" 1 &&
            wait_up 5 in_log "$log" 'wl_keyboard@[0-9]+\.enter\('
        check "the menu opens in the windowed weston and gets keyboard focus" \
            in_log "$log" 'wl_keyboard@[0-9]+\.enter\('
        sleep 0.3
        xdotool key Return
        wait_up 2 in_log "$log" 'wl_keyboard@[0-9]+\.key\(' &&
            wait_up 10 second_window_at_least "$log" "$PRACTICE_W" "$PRACTICE_H"
        check "weston hands Enter to the program" in_log "$log" 'wl_keyboard@[0-9]+\.key\([0-9]+, [0-9]+, 28, 1\)'
        check "Enter on the first menu button opens the practice window (${PRACTICE_W}x${PRACTICE_H})" \
            second_window_at_least "$log" "$PRACTICE_W" "$PRACTICE_H"
        sleep 1
        check "the program still runs with the practice window open" running "$program_pid"
        check "no Qt platform errors while playing" no_qt_errors "$log"
        show_other_output "$log"
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null

        log=$runtime/quit.log
        start_program "$log"
        wait_up 10 toplevels_committed "$log" 1 &&
            wait_up 5 in_log "$log" 'wl_keyboard@[0-9]+\.enter\('
        sleep 0.3
        menu_up() { toplevels_committed "$log" 1 && in_log "$log" 'wl_keyboard@[0-9]+\.enter\(' && running "$program_pid"; }
        check "the menu is up and focused before Tab Enter" menu_up
        xdotool key --delay 150 Tab Return
        wait_for 5 ended "$program_pid"
        if running "$program_pid"; then
            check "Tab Enter (おわる) ends the program" false
        else
            wait "$program_pid"
            status=$?
            check "Tab Enter (おわる) ends the program with status 0 (got $status)" test "$status" -eq 0
        fi
        check "no Qt platform errors when quitting" no_qt_errors "$log"
        show_other_output "$log"
    else
        check "weston starts on its x11 backend inside Xvfb" false
        sed 's/^/  weston: /' "$runtime/weston-x11.log" "$runtime/weston-x11.out" | tail -n 20
    fi
else
    echo "NOTE not played with the keyboard (needs Xvfb, xdotool and weston's x11 backend)"
fi

echo "took $((SECONDS - started)) s"
echo "$passed passed, $failed failed"
((failed == 0))
