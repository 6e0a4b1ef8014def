#!/bin/sh
# Renders the desktop program's windows into PNG files in DIR, offscreen (no
# display needed): the start page, the main window with a watch list of
# bred stocks, the quick code search, the evening digest notice, the
# strategy wizard and the dialogs. It works as a new user would, on
# the bundled data: a korvel-server on a free loopback port, a fresh client
# folder synchronised, five stocks watched and bred with fixed seeds.
#   scripts/screenshots.sh DIR        (BUILD=build/release by default)
set -eu
OUT=${1:?usage: scripts/screenshots.sh DIR}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build/release}
CLI="$BUILD/korvel-cli"
SERVER="$BUILD/korvel-server"
for program in "$CLI" "$SERVER" "$BUILD/korvel"; do
    [ -x "$program" ] || { echo "screenshots: $program is not built (make build)"; exit 1; }
done
WORK=$(mktemp -d)
SERVER_PID=""
finish() {
    [ -n "$SERVER_PID" ] && kill "$SERVER_PID" 2>/dev/null && wait "$SERVER_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap finish EXIT INT TERM

"$SERVER" init-demo --data "$WORK/server" >/dev/null
"$SERVER" serve --data "$WORK/server" --listen 127.0.0.1:0 >"$WORK/serve.out" 2>"$WORK/serve.log" &
SERVER_PID=$!
PORT=""
for _ in $(seq 1 100); do
    PORT=$(sed -n 's/^listening on 127\.0\.0\.1://p' "$WORK/serve.out")
    [ -n "$PORT" ] && break
    sleep 0.1
done
[ -n "$PORT" ] || { echo "screenshots: the server did not start"; cat "$WORK/serve.log"; exit 1; }

C="$WORK/client"
"$CLI" --dir "$C" init >/dev/null
"$CLI" --dir "$C" settings set HOST "127.0.0.1:$PORT"
"$CLI" --dir "$C" sync >/dev/null
for stock in "SS 600000" "SS 600519" "SS 600036" "SZ 000651" "SZ 000858" "SZ 300059"; do
    # shellcheck disable=SC2086
    "$CLI" --dir "$C" watch add $stock
done
"$CLI" --dir "$C" sync >/dev/null
# Bred on the history up to the server's cut date, so the evening sync after
# it brings new bars, changes some advice and leaves the digest notice.
"$CLI" --dir "$C" cleanup SS:600000 SS:600519 SS:600036 SZ:000651 SZ:000858 >/dev/null
seed=1
for stock in "SS 600000" "SS 600519" "SS 600036" "SZ 000651" "SZ 000858"; do
    # shellcheck disable=SC2086
    "$CLI" --dir "$C" breed $stock --save --seed $seed >/dev/null
    seed=$((seed + 1))
done
"$CLI" --dir "$C" sync >/dev/null
mkdir -p "$OUT"
QT_QPA_PLATFORM=offscreen XDG_STATE_HOME="$WORK/state" XDG_CONFIG_HOME="$WORK/config" \
    "$BUILD/korvel" --dir "$C" --screenshot "$OUT"
# Small files for the repository: a palette of 200 colours loses nothing a
# reader of the pictures would see.
if command -v convert >/dev/null 2>&1; then
    for picture in "$OUT"/*.png; do
        convert "$picture" -dither None -colors 200 "PNG8:$picture"
    done
fi
