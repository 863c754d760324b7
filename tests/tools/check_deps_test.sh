#!/usr/bin/env bash
# tools/check-deps against the real list passes, and against a copy of the list
# without the package "wine" fails, naming the command and the package to add.
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

if ! out=$("$src/tools/check-deps" 2>&1); then
    echo "FAIL: the check fails on the committed list:"; echo "$out"; exit 1
fi

# A remembered pass must not hide a tool installed by hand since: the same
# list, now with a stand-in earlier on PATH, fails.
mkdir -p "$work/bin" && printf '#!/bin/sh\n' >"$work/bin/xdotool" && chmod +x "$work/bin/xdotool"
if out=$(PATH="$work/bin:$PATH" "$src/tools/check-deps" 2>&1); then
    echo "FAIL: a hand-made xdotool first on PATH passes (a remembered result was trusted)"; exit 1
fi
grep -q 'xdotool' <<<"$out" || { echo "FAIL: the message does not name xdotool:"; echo "$out"; exit 1; }

grep -v '^package wine$' "$src/tools/deps" >"$work/deps"
cmp -s "$src/tools/deps" "$work/deps" && { echo "FAIL: the list has no line for wine"; exit 1; }
if out=$("$src/tools/check-deps" "$work/deps" 2>&1); then
    echo "FAIL: the check passes with wine left out of the list"; exit 1
fi
for want in wineboot 'add the line "package wine"'; do
    grep -q "$want" <<<"$out" || { echo "FAIL: no \"$want\" in the message:"; echo "$out"; exit 1; }
done
echo "ok: $(head -n 1 <<<"$out")"
