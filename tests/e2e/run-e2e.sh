#!/usr/bin/env bash
# Drives the real program in a private X server with the trayer tray host: the main
# window, the docked icon and its menu, a second launch from the same folder, and the
# ways out (the tray menu, the window's close request, a killed copy).
#
#   run-e2e.sh PATH-TO-QUILLBOX
#
# Every wait is bounded and every process started here is ended by its pid on exit.
# Set QUILLBOX_E2E_SCREENSHOT=file.png to keep a picture of the screen with the icon.
set -uo pipefail

program=${1:?usage: run-e2e.sh PATH-TO-QUILLBOX}
here=$(cd "$(dirname "$0")" && pwd)
helper="$here/xhelper.py"
caption="Gestionnaire de Presse Papier"
wait_seconds=10

scratch=$(mktemp -d)
pids=()
started=$(date +%s%N)

log() { echo "e2e: $*"; }

fail() {
    echo "e2e: FAILED: $*" >&2
    report_end >&2
    for f in "$scratch"/*.log; do
        [ -s "$f" ] && { echo "--- $(basename "$f")" >&2; tail -n 20 "$f" >&2; }
    done
    if [ -n "${DISPLAY:-}" ]; then
        echo "--- windows" >&2
        xwininfo -root -tree 2>&1 | head -n 40 >&2
    fi
    exit 1
}

ended() {
    # A child that has exited stays a zombie until it is waited for.
    local state
    state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1) || return 0
    [ -z "$state" ] || [ "$state" = Z ]
}

# Says how the current copy ended, if it ended without being waited for.
report_end() {
    [ -n "${pid:-}" ] && ended "$pid" || return 0
    local copy=$pid status
    wait "$copy" 2>/dev/null
    status=$?
    forget "$copy"
    if [ "$status" -gt 128 ]; then
        echo "e2e: quillbox (pid $copy) was ended by signal $(kill -l $((status - 128)))"
    else
        echo "e2e: quillbox (pid $copy) exited with code $status"
    fi
}

# Drops a waited-for pid, which the system may hand to another process.
forget() {
    local kept=() p
    for p in "${pids[@]}"; do [ "$p" = "$1" ] || kept+=("$p"); done
    pids=("${kept[@]}")
    [ "${pid:-}" != "$1" ] || pid=
}

cleanup() {
    local i pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill -TERM "$pid" 2>/dev/null || continue
        for _ in $(seq 20); do ended "$pid" && break; sleep 0.1; done
        ended "$pid" || kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# wait_for DESCRIPTION COMMAND...: polls COMMAND until it succeeds, fails after the bound.
wait_for() {
    local what=$1
    shift
    for _ in $(seq $((wait_seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    fail "no $what within ${wait_seconds} s"
}

decimal() { echo $(($1)); }

mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
unmapped() { ! mapped "$1"; }

tray_is_up() { [ "$(python3 "$helper" tray-owner 2>/dev/null || echo 0)" != 0 ]; }

children() { xwininfo -children -id "$1" 2>/dev/null | awk '/^ +0x[0-9a-f]+ /{print $1}'; }

# The windows embedded in trayer's panel: each docked icon sits in a socket of its own.
docked_icons() {
    local panel socket
    panel=$(xdotool search --classname '^panel$' 2>/dev/null | head -n 1)
    [ -n "$panel" ] || return 0
    for socket in $(children "$panel"); do children "$socket"; done
}

icon_count_is() { [ "$(docked_icons | wc -l)" -eq "$1" ]; }

main_window_of() {
    local w
    for w in $(xdotool search --pid "$1" --name "^$caption\$" 2>/dev/null); do
        mapped "$w" && { echo "$w"; return 0; }
    done
    return 1
}

# A viewable override-redirect window of the program other than its window and icon.
popup_of() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        [ "$w" = "$2" ] || [ "$w" = "$3" ] && continue
        xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' \
            && { echo "$w"; return 0; }
    done
    return 1
}
no_popup_of() { ! popup_of "$@" >/dev/null; }

geometry_value() { xwininfo -id "$1" | awk -v key="$2" -F: '$1 ~ key {gsub(/ /, "", $2); print $2}'; }

click_icon() {
    local icon=$1 button=$2 x y
    x=$(($(geometry_value "$icon" 'Absolute upper-left X') + $(geometry_value "$icon" 'Width') / 2))
    y=$(($(geometry_value "$icon" 'Absolute upper-left Y') + $(geometry_value "$icon" 'Height') / 2))
    xdotool mousemove "$x" "$y" click "$button"
}

launch() {
    (cd "$folder" && exec ./quillbox) >"$scratch/quillbox-$1.log" 2>&1 &
    pid=$!
    pids+=("$pid")
}

# Waits until the running copy shows its window with one icon docked; sets main and icon.
expect_running() {
    ended "$pid" && fail "quillbox ended at start-up"
    wait_for "mapped main window captioned \"$caption\"" main_window_of "$pid" >/dev/null
    main=$(main_window_of "$pid")
    [ "$(xdotool getwindowname "$main")" = "$caption" ] \
        || fail "main window caption is \"$(xdotool getwindowname "$main")\""
    wait_for "icon docked in trayer" icon_count_is 1
    icon=$(decimal "$(docked_icons)")
    xprop -id "$icon" WM_CLASS | grep -q '"quillbox"' \
        || fail "the docked icon is not quillbox's: $(xprop -id "$icon" WM_CLASS)"
}

# Opens the tray menu with a right click and types the mnemonic of one of its items.
choose_in_tray_menu() {
    click_icon "$icon" 3
    wait_for "tray menu after a right click on the icon" popup_of "$pid" "$main" "$icon" >/dev/null
    sleep 0.2 # let the menu take the keyboard grab
    xdotool key "$1"
    wait_for "tray menu closing after choosing an item" no_popup_of "$pid" "$main" "$icon"
}

# Expects the running copy to end by itself with exit code 0 and to leave no icon.
expect_ended() {
    wait_for "end of quillbox after $1" ended "$pid"
    wait "$pid"
    local status=$?
    forget "$pid"
    [ "$status" -eq 0 ] || fail "quillbox exited with code $status after $1"
    wait_for "empty tray after $1" icon_count_is 0
}

for tool in Xvfb trayer xdotool xwininfo xprop python3; do
    command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/install-deps"
done

export QT_QPA_PLATFORM=xcb # make test exports offscreen for the in-process tests
export XDG_RUNTIME_DIR="$scratch/runtime" TMPDIR="$scratch/tmp"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"
# Without a session bus Qt docks its icon through XEmbed, which trayer hosts.
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
wait_for "display number from Xvfb" test -s "$scratch/display"
export DISPLAY=":$(head -n 1 "$scratch/display")"
log "Xvfb on $DISPLAY"

trayer --edge top --align right --widthtype pixel --width 100 --height 24 \
    --transparent false >"$scratch/trayer.log" 2>&1 &
pids+=($!)
wait_for "owner of the _NET_SYSTEM_TRAY_S0 selection (trayer)" tray_is_up
icon_count_is 0 || fail "trayer holds icons before quillbox starts"

folder="$scratch/prog"
mkdir "$folder"
cp "$program" "$folder/quillbox"
printf '3,2\r\n"Salutation"\r\nBonjour \340 tous,\r\n\340 demain.\r\n' >"$folder/Qbox3.QBX"
printf '7,1\r\n"Adresse"\r\n12 rue des Lilas\r\n' >"$folder/Qbox7.QBX"
[ "$(stat -c %s "$folder/Qbox3.QBX")" -eq 47 ] || fail "Qbox3.QBX is not the 47-byte example"

log "first run: window, icon, tray menu, second launch, quit from the tray"
launch 1
expect_running
log "window $main mapped, icon $icon docked"
if [ -n "${QUILLBOX_E2E_SCREENSHOT:-}" ]; then
    import -window root "$QUILLBOX_E2E_SCREENSHOT" || fail "cannot take the screenshot"
fi

choose_in_tray_menu m
wait_for "main window unmapped after \"&Masquer\"" unmapped "$main"
ended "$pid" && fail "quillbox ended on \"&Masquer\""

second_start=$(date +%s%N)
(cd "$folder" && exec timeout "$wait_seconds" ./quillbox) >"$scratch/quillbox-second.log" 2>&1
status=$?
[ "$status" -ne 124 ] || fail "the second launch did not exit within $wait_seconds s"
[ "$status" -eq 0 ] || fail "the second launch exited with code $status"
log "second launch exited in $((($(date +%s%N) - second_start) / 1000000)) ms"
wait_for "main window shown again at the second launch's request" mapped "$main"
icon_count_is 1 || fail "$(docked_icons | wc -l) icons docked after the second launch"

choose_in_tray_menu m
wait_for "main window unmapped after \"&Masquer\"" unmapped "$main"
click_icon "$icon" 1
wait_for "main window mapped after a left click on the icon" mapped "$main"

choose_in_tray_menu q
expect_ended '"&Quitter" in the tray menu'

log "second run: the window's close request"
launch 2
expect_running
python3 "$helper" close "$main" || fail "cannot send WM_DELETE_WINDOW"
expect_ended "WM_DELETE_WINDOW"

log "third run: a killed copy leaves its socket behind, the next start is not blocked"
launch 3
expect_running
kill -KILL "$pid"
wait "$pid" 2>/dev/null
forget "$pid"
compgen -G "$XDG_RUNTIME_DIR/quillbox-*.socket" >/dev/null || fail "the killed copy left no socket to test with"
wait_for "empty tray after killing quillbox" icon_count_is 0
launch 4
expect_running
python3 "$helper" close "$main" || fail "cannot send WM_DELETE_WINDOW"
expect_ended "WM_DELETE_WINDOW"

log "passed in $((($(date +%s%N) - started) / 1000000)) ms"
