#!/usr/bin/env bash
# Runs the simulator on a key script with the example command list and
# compares what it prints with the expected screen dumps.
# usage: simulator_test.sh SIMULATOR PLUGIN ROOT SCRIPT EXPECTED
set -euo pipefail
simulator=$1 plugin=$2 root=$3 script=$4 expected=$5
here=$(dirname "$0")
rm -rf "$root"
mkdir -p "$root/var/tuxbox/config" "$root/tmp"
cp "$here/../examples/dorvane.xml" "$root/var/tuxbox/config/dorvane.xml"
actual=$("$simulator" --no-window --plugin "$plugin" --script "$script")
diff -u "$expected" <(printf '%s\n' "$actual")
