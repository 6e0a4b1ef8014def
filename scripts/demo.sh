#!/bin/sh
# The main job on the bundled data, run with the Release build in $1.
# Until the server and the synchronisation land, this is the most complete
# job there is: create a database, show the stock list and the conditions of
# one stock, and breed an exact rule with the engine.
set -eu
BUILD=${1:-build/release}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK="$ROOT/demo-work"
rm -rf "$WORK"
mkdir -p "$WORK"
CLI="$BUILD/korvel-cli"

echo "== korvel-cli init"
"$CLI" --dir "$WORK" init
echo "== korvel-cli gep (XOR of two inputs among noise inputs)"
"$CLI" gep "$ROOT/data/gep/xor.cfg" "$ROOT/data/gep/xor.csv" --classify --seed 7 | tail -n 5
echo "== the database is $WORK"
