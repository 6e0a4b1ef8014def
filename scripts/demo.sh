#!/bin/sh
# The main job on the bundled data, run with the Release build in $1.
set -eu
BUILD=${1:-build/release}
echo "korvel demo: nothing to run yet; the programs are in $BUILD"
"$BUILD/korvel-cli" help
