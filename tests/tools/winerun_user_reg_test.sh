#!/usr/bin/env bash
# winerun --user-reg: the keys and values of the file are in the session's
# HKEY_CURRENT_USER before the program starts.
#
#   winerun_user_reg_test.sh WINERUN TEMPLATE
set -uo pipefail
winerun=$1
template=$2
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
printf '[Software\\\\Norvale\\\\Probe]\n"Text"="Z:\\\\one two"\n"Number"=dword:0000002a\n' >"$work/user.reg"
printf '#!/usr/bin/env bash\nwine reg query "HKCU\\\\Software\\\\Norvale\\\\Probe"\n' >"$work/query.sh"
chmod +x "$work/query.sh"
out=$(WINERUN_TIMEOUT=120 "$winerun" --template "$template" --user-reg "$work/user.reg" --unix "$work/query.sh" 2>&1 | tr -d '\r')
fail=0
for want in 'Text[[:space:]]+REG_SZ[[:space:]]+Z:\\one two$' 'Number[[:space:]]+REG_DWORD[[:space:]]+0x2a$'; do
    grep -Eq "$want" <<<"$out" || { echo "FAIL: no line matching \"$want\" in:"; echo "$out"; fail=1; }
done
[[ $fail == 0 ]] && echo "ok: both values were there at the start"
exit $fail
