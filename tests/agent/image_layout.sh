#!/usr/bin/env bash
# The resident agent's image keeps its private bytes down: its sections start
# on page boundaries in the file (mapped, not read into private memory) and
# comdlg32, which brings the print spooler along, is bound only at the first
# file dialog.
#
#   image_layout.sh TVAGENT_EXE
set -uo pipefail
exe=$1
head=$(x86_64-w64-mingw32-objdump -p "$exe") || { echo "FAIL: cannot read $exe"; exit 1; }
fail=0
grep -q '^FileAlignment[[:space:]]*00001000$' <<<"$head" ||
    { echo "FAIL: sections are not page-aligned in the file: $(grep "^FileAlignment" <<<"$head")"; fail=1; }
if grep -qi 'DLL Name: comdlg32' <<<"$head"; then
    echo "FAIL: comdlg32 is imported at start"
    fail=1
fi
[[ $fail == 0 ]] && echo "ok: page-aligned sections, comdlg32 delay-loaded"
exit $fail
