# Sourced by the real-input tests: an X server (Xvfb) with a window manager (openbox), and the pointer
# and keyboard moves of a user through xdotool. Controls are found by the layout the program uses on
# this display ($work/layout: "id x y width height" in the main window's client area).

x_session_up() {
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    export DISPLAY=":$n"
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    X_SERVER_PID=$!
    # A server slow to come up (fonts read cold just after a package install) once outlasted a 10 s wait,
    # and the window manager started before it gave up at once: wait longer, and start it again if it
    # has gone.
    for _ in $(seq 300); do
        xprop -root >/dev/null 2>&1 && break
        sleep 0.1
    done
    local attempt
    for attempt in 1 2; do
        openbox --sm-disable >/dev/null 2>&1 &
        X_WM_PID=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
            kill -0 "$X_WM_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$X_WM_PID" 2>/dev/null
    done
    return 1
}

x_session_down() {
    [ -n "${X_WM_PID:-}" ] && kill "$X_WM_PID" 2>/dev/null
    [ -n "${X_SERVER_PID:-}" ] && kill "$X_SERVER_PID" 2>/dev/null
    wait 2>/dev/null || true
}

# Waits (up to 10 s) for a visible window whose title matches; its id in X_WINDOW.
x_find_window() {
    local i
    for i in $(seq 100); do
        X_WINDOW=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$X_WINDOW" ] && { sleep 0.3; return 0; }
        sleep 0.1
    done
    return 1
}

# Moves the pointer to a point of the main window's client area and clicks there. (xwininfo, not
# xdotool getwindowgeometry: under a reparenting window manager the latter adds the frame's offset.)
x_click_at() {
    local left top
    left=$(xwininfo -id "$MAIN_WINDOW" | awk '/Absolute upper-left X/ { print $4 }')
    top=$(xwininfo -id "$MAIN_WINDOW" | awk '/Absolute upper-left Y/ { print $4 }')
    xdotool mousemove --sync $((left + $1)) $((top + $2)) click 1
    sleep 0.2
}

# Clicks a control at a point given as fractions (in percent) of its width and height; the centre
# unless told otherwise.
x_click_control() {
    local id=$1 px=${2:-50} py=${3:-50} x y w h
    read -r x y w h < <(awk -v id="$id" '$1 == id { print $2, $3, $4, $5 }' "$work/layout")
    [ -n "$x" ] || { echo "no control $id in the layout" >&2; return 1; }
    x_click_at $((x + w * px / 100)) $((y + h * py / 100))
}

# Clicks row `row` of a list box whose rows are 40 pixels high.
x_click_list_row() {
    local id=$1 row=$2 x y w h
    read -r x y w h < <(awk -v id="$id" '$1 == id { print $2, $3, $4, $5 }' "$work/layout")
    x_click_at $((x + 20)) $((y + 2 + 40 * row + 20))
}

# Types a dotted address into an address control as a user does: a click into its first field, the
# field's text selected, then the numbers. A third digit moves on by itself; a shorter number is
# ended with a dot.
x_type_address() {
    local id=$1 field fields
    x_click_control "$id" 12 50
    xdotool key ctrl+a
    IFS=. read -r -a fields <<<"$2"
    for field in "${!fields[@]}"; do
        xdotool type --delay 30 "${fields[$field]}"
        if [ "${#fields[$field]}" -lt 3 ] && [ "$field" -lt 3 ]; then
            xdotool type --delay 30 "."
        fi
        # The next field's old text is selected when the cursor arrives; typing replaces it.
    done
}

# A picture of the screen, numbered in step order, when OSTRELLE_SHOTS names a folder.
x_shot() {
    [ -n "${OSTRELLE_SHOTS:-}" ] || return 0
    X_SHOT_NUMBER=$((${X_SHOT_NUMBER:-0} + 1))
    mkdir -p "$OSTRELLE_SHOTS"
    "$shot_tool" "$(printf '%s/%02d-%s.png' "$OSTRELLE_SHOTS" "$X_SHOT_NUMBER" "$1")" 2>/dev/null || true
}
