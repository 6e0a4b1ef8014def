#!/bin/sh
# The strategy wizard and the dialogs rendered to PNG files in $1 (default
# docs/images) with the Release build in $2 (default build/release): a demo
# server from the bundled data on loopback, a fresh client folder that
# watches four stocks and is synchronised with it, then korvel-shots, which
# breeds a strategy for SS 600000 through the wizard and draws every page
# and dialog with that content.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-$ROOT/docs/images}
BUILD=${2:-$ROOT/build/release}
CLI="$BUILD/korvel-cli"
SERVER="$BUILD/korvel-server"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/korvel-shots-XXXXXX")
SERVER_PID=""

finish() {
    if [ -n "$SERVER_PID" ]; then
        kill "$SERVER_PID" 2>/dev/null || true
        wait "$SERVER_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap finish EXIT INT TERM

"$SERVER" init-demo --data "$WORK/server" --source "$ROOT/data" >/dev/null
"$SERVER" serve --data "$WORK/server" --listen 127.0.0.1:0 >"$WORK/serve.out" 2>"$WORK/serve.log" &
SERVER_PID=$!
PORT=""
for _ in $(seq 1 100); do
    PORT=$(sed -n 's/^listening on 127\.0\.0\.1://p' "$WORK/serve.out")
    [ -n "$PORT" ] && break
    sleep 0.1
done
[ -n "$PORT" ] || { cat "$WORK/serve.log"; echo "the server did not start" >&2; exit 1; }

C="$WORK/client"
"$CLI" --dir "$C" init >/dev/null
"$CLI" --dir "$C" settings set HOST "127.0.0.1:$PORT" >/dev/null
"$CLI" --dir "$C" sync >/dev/null
for stock in "SS 600000" "SS 600519" "SZ 000651" "SZ 000858"; do
    # shellcheck disable=SC2086
    "$CLI" --dir "$C" watch add $stock >/dev/null
done
"$CLI" --dir "$C" sync >/dev/null

mkdir -p "$OUT"
"$BUILD/korvel-shots" "$C" "$OUT"
echo "wizard and dialog pictures in $OUT"
