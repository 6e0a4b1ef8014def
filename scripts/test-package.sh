#!/bin/sh
# Checks the Debian package that `make package` built in $1 (default
# build/release): its control fields and files, then unpacks it into a
# scratch root (dpkg-deb -x, nothing is installed on the system) and runs the
# installed programs from there: --help, init-demo from the installed data,
# and the main job (serve, sync, breed, report, signals) on loopback.
set -eu
BUILD=${1:-build/release}
DEB=$(ls "$BUILD"/korvel_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$DEB" ] || { echo "test-package: no korvel_*_amd64.deb in $BUILD"; exit 1; }
SCRATCH=$(mktemp -d)
SERVER_PID=""
cleanup() {
    if [ -n "$SERVER_PID" ]; then kill "$SERVER_PID" 2>/dev/null || true; wait "$SERVER_PID" 2>/dev/null || true; fi
    rm -rf "$SCRATCH"
}
trap cleanup EXIT INT TERM
fail() { echo "test-package: $*"; exit 1; }

echo "test-package: $DEB"
field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = korvel ] || fail "Package is $(field Package)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is $(field Architecture)"
DEPENDS=$(field Depends)
# What the programs link, as dpkg-shlibdeps found it, and the fonts.
for dep in libc6 libstdc++6 libsqlite3-0 libcurl4 libpugixml1v5 libqt6widgets6 fonts-noto-cjk; do
    echo "$DEPENDS" | grep -q "$dep" || fail "Depends lacks $dep: $DEPENDS"
done

ROOT="$SCRATCH/root"
dpkg-deb -x "$DEB" "$ROOT"
for f in usr/bin/korvel usr/bin/korvel-cli usr/bin/korvel-server \
         usr/share/applications/korvel.desktop usr/share/icons/hicolor/scalable/apps/korvel.svg \
         usr/share/man/man1/korvel-cli.1.gz usr/share/man/man1/korvel-server.1.gz \
         usr/share/korvel/data/stocks.csv usr/share/korvel/data/daily/SS_600000.csv usr/share/doc/korvel/README.md; do
    [ -e "$ROOT/$f" ] || fail "missing /$f"
done
if [ -f "$(dirname "$0")/../docs/user-guide.md" ]; then
    [ -e "$ROOT/usr/share/doc/korvel/user-guide.md" ] || fail "missing /usr/share/doc/korvel/user-guide.md"
fi
zcat "$ROOT/usr/share/man/man1/korvel-cli.1.gz" | grep -q 'watch\\-list' || fail "the korvel-cli man page lacks breed --watch-list"
grep -q '^Exec=korvel$' "$ROOT/usr/share/applications/korvel.desktop" || fail "desktop entry without Exec=korvel"

BIN="$ROOT/usr/bin"
"$BIN/korvel-cli" --help | grep -q '^  breed ' || fail "korvel-cli --help does not list breed"
QT_QPA_PLATFORM=offscreen "$BIN/korvel" --help 2>/dev/null | grep -q 'Korvel' || fail "korvel --help failed"
"$BIN/korvel-server" --help | grep -q '^  init-demo ' || fail "korvel-server --help does not list init-demo"

WORK="$SCRATCH/work"
"$BIN/korvel-server" init-demo --data "$WORK/server" >"$WORK.init" 2>&1 || { cat "$WORK.init"; fail "init-demo failed"; }
grep -q "from $ROOT/usr/share/korvel/data" "$WORK.init" || fail "init-demo did not use the installed data: $(head -n 1 "$WORK.init")"

"$BIN/korvel-server" serve --data "$WORK/server" --listen 127.0.0.1:0 >"$WORK.serve" 2>/dev/null &
SERVER_PID=$!
PORT=""
for _ in $(seq 1 100); do
    PORT=$(sed -n 's/^listening on 127\.0\.0\.1://p' "$WORK.serve")
    [ -n "$PORT" ] && break
    sleep 0.1
done
[ -n "$PORT" ] || fail "the installed server did not start"

C="$WORK/client"
run() { "$BIN/korvel-cli" --dir "$C" "$@" >"$WORK.out" 2>&1 || { cat "$WORK.out"; fail "korvel-cli $*"; }; }
run init
run settings set HOST "127.0.0.1:$PORT"
run sync
run watch add SS 600000
run watch add SZ 000651
run sync
run breed SS 600000 --seed 7 --depth 5 --holdout 60 --save
grep -q '样本外检验' "$WORK.out" || fail "breed --holdout printed no held-out block"
run breed --watch-list --jobs 2 --depth 3 --seed 7 --save
run report SS 600000
run signals SS 600000
tail -n 1 "$WORK.out" | grep -q '^advice' || fail "signals ended without the advice"
run watch
[ "$(wc -l <"$WORK.out")" -eq 2 ] || fail "the watch list does not show both stocks"
echo "test-package: ok ($(du -h "$DEB" | cut -f1) package, $(echo "$DEPENDS" | tr ',' '\n' | wc -l) dependencies)"
