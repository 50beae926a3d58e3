#!/usr/bin/env bash
# Prints the ten slowest tests of a ctest output (its "Test #N: name ...
# sec" lines), slowest first: seconds and name.
set -euo pipefail
sed -nE 's/^.*Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 \1/p' "$1" | sort -rn | head -10
