#!/usr/bin/env bash
# Runs one test program (the emulator and its arguments) and passes on its output and exit code.
# Wine now and then ends a program before it runs at all: no output, a failure exit, a few
# milliseconds (seen about once in a few hundred starts, on new prefixes). A program that ran
# always writes GoogleTest's summary, so such a start is named and made once more; a program
# that fails or crashes after it started is never run again.
out=$(mktemp)
"$@" >"$out" 2>&1
status=$?
cat "$out"
if [ "$status" -ne 0 ] && [ ! -s "$out" ]; then
  echo "run-test: the program ended with status $status before it wrote anything; starting it once more"
  "$@"
  status=$?
fi
rm -f "$out"
exit "$status"
