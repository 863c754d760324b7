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

grep -v '^package wine$' "$src/tools/deps" >"$work/deps"
cmp -s "$src/tools/deps" "$work/deps" && { echo "FAIL: the list has no line for wine"; exit 1; }
if out=$("$src/tools/check-deps" "$work/deps" 2>&1); then
    echo "FAIL: the check passes with wine left out of the list"; exit 1
fi
for want in wineboot 'add the line "package wine"'; do
    grep -q "$want" <<<"$out" || { echo "FAIL: no \"$want\" in the message:"; echo "$out"; exit 1; }
done
echo "ok: $(head -n 1 <<<"$out")"
