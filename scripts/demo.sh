#!/bin/sh
# The main job on the bundled data, with the Release build in $1:
# build a server database from data/, serve it on loopback, then, as a new
# user would in a fresh folder, set up the client, watch a few stocks,
# synchronise, breed a strategy for one of them and show the results.
set -eu
BUILD=${1:-build/release}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK="$ROOT/demo-work"
CLI="$BUILD/korvel-cli"
SERVER="$BUILD/korvel-server"
SERVER_PID=""

stop_server() {
    if [ -n "$SERVER_PID" ]; then
        kill "$SERVER_PID" 2>/dev/null || true
        wait "$SERVER_PID" 2>/dev/null || true
        SERVER_PID=""
    fi
}
trap stop_server EXIT INT TERM

step() { printf '\n== %s\n' "$*"; }

rm -rf "$WORK"
mkdir -p "$WORK"

step "korvel-server init-demo: a server database from the bundled real data"
"$SERVER" init-demo --data "$WORK/server" --source "$ROOT/data" | tail -n 3

step "korvel-server serve on a free loopback port"
"$SERVER" serve --data "$WORK/server" --listen 127.0.0.1:0 >"$WORK/serve.out" 2>"$WORK/serve.log" &
SERVER_PID=$!
PORT=""
for _ in $(seq 1 100); do
    PORT=$(sed -n 's/^listening on 127\.0\.0\.1://p' "$WORK/serve.out")
    [ -n "$PORT" ] && break
    kill -0 "$SERVER_PID" 2>/dev/null || { cat "$WORK/serve.log"; exit 1; }
    sleep 0.1
done
[ -n "$PORT" ] || { echo "the server did not start"; exit 1; }
echo "serving on 127.0.0.1:$PORT (log: $WORK/serve.log)"

C="$WORK/client"
step "korvel-cli init in a fresh folder, HOST pointed at the server"
"$CLI" --dir "$C" init
"$CLI" --dir "$C" settings set HOST "127.0.0.1:$PORT"

step "korvel-cli sync: server status and the stock list"
"$CLI" --dir "$C" sync

step "korvel-cli watch add: four bundled stocks"
for stock in "SS 600000" "SS 600519" "SZ 000651" "SZ 000858"; do
    # shellcheck disable=SC2086
    "$CLI" --dir "$C" watch add $stock
done

step "korvel-cli sync: daily bars and dividends of the watched stocks"
"$CLI" --dir "$C" sync

step "korvel-cli breed SS 600000 --seed 7 --save (first and last generations)"
"$CLI" --dir "$C" breed SS 600000 --seed 7 --save >"$WORK/breed.out"
head -n 3 "$WORK/breed.out"
echo "..."
grep '^generation' "$WORK/breed.out" | tail -n 2
grep '^saved' "$WORK/breed.out" || true

step "korvel-cli report SS 600000"
"$CLI" --dir "$C" report SS 600000

step "korvel-cli signals SS 600000 (last bars and the advice)"
"$CLI" --dir "$C" signals SS 600000 | tail -n 4

step "korvel-cli watch"
"$CLI" --dir "$C" watch

stop_server
step "done"
echo "The client database is $(ls "$C"/*.db3); the server's is in $WORK/server."
