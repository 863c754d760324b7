#!/usr/bin/env bash
# A program's image keeps its start and its private bytes down: its sections
# start on page boundaries in the file (mapped, not read into private memory)
# and the libraries named after it are bound at their first use, not at
# start.
#
#   image_layout.sh EXE [LIBRARY...]     e.g. image_layout.sh tvagent.exe comdlg32
set -uo pipefail
exe=$1
shift
head=$(x86_64-w64-mingw32-objdump -p "$exe") || { echo "FAIL: cannot read $exe"; exit 1; }
fail=0
grep -q '^FileAlignment[[:space:]]*00001000$' <<<"$head" ||
    { echo "FAIL: sections are not page-aligned in the file: $(grep "^FileAlignment" <<<"$head")"; fail=1; }
for lib in "$@"; do
    if grep -qi "DLL Name: $lib" <<<"$head"; then
        echo "FAIL: $lib is imported at start"
        fail=1
    fi
done
[[ $fail == 0 ]] && echo "ok: page-aligned sections${*:+, bound at first use: $*}"
exit $fail
