#!/usr/bin/env bash
# Prints the ten slowest tests of a ctest output (its "Test #N: name ...
# sec" lines), slowest first: seconds and name.
set -euo pipefail
# The first ten lines are kept by a filter that reads all of its input:
# one that stops early (head) can end sort with SIGPIPE, which the pipeline
# then reports as a failure.
sed -nE 's/^.*Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 \1/p' "$1" | sort -rn | sed -n '1,10p'
