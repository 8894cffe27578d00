#!/bin/sh
# Each tool, asked to do what it cannot fully do, exits non-zero and says what failed; bad input is
# refused with the offending key or value named, and nothing is written.
set -u
cli=$1
sim=$2
example=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
# refuses WHAT TEXT -- COMMAND...: the command exits non-zero and its standard error holds TEXT.
refuses() {
  what=$1 text=$2
  shift 3
  if "$@" >"$dir/out" 2>"$dir/err"; then fail "$what: exit 0"; fi
  grep -qF -- "$text" "$dir/err" || fail "$what: no \"$text\" in: $(cat "$dir/err")"
}

# post: stored, failed and skipped lines told apart; non-zero unless every line was stored.
mkdir "$dir/st"
"$cli" load --station "$dir/st" "$example" || fail "load"
echo "1234 E130001" | "$cli" post --station "$dir/st" --today 2026-12-08 2>"$dir/err" || fail "post: $(cat "$dir/err")"
grep -q "1 stored, 0 failed, 0 skipped" "$dir/err" || fail "post counts: $(cat "$dir/err")"
mkdir "$dir/no-orba"
refuses "post without ORBA" "0 stored, 1 failed, 0 skipped" -- \
  sh -c "echo '1234 E130001' | '$cli' post --station '$dir/no-orba' --today 2026-12-08"
head -c 201 /dev/zero >"$dir/st/ORBA/202612.EVT/EVENT.MDC"
refuses "post on a torn EVENT.MDC" "not a whole number of 200-byte records" -- \
  sh -c "printf '1234 E130001\n1234 E130002\n' | '$cli' post --station '$dir/st' --today 2026-12-08"
grep -q "0 stored, 2 failed" "$dir/err" || fail "post torn counts: $(cat "$dir/err")"
grep -q "not a whole number" "$dir/st/ORBA/error.log" || fail "post torn: error.log"

# receivers: exact types, known keys, ranges checked before the byte is cut; nothing written.
"$cli" receivers --station "$dir/st" >/dev/null || fail "receivers print"
sum=$(cksum <"$dir/st/TorvaCom.dta" 2>/dev/null || echo none)
n=0
while read -r key json; do
  n=$((n + 1))
  echo "$json" >"$dir/r$n.json"
  refuses "receivers $json" "$key" -- "$cli" receivers --station "$dir/st" "$dir/r$n.json"
done <<'CASES'
port {"receivers": [{"port": 1.9}]}
port {"receivers": [{"port": 17}]}
receiver_type {"receivers": [{"port": 1, "receiver_type": true}]}
receiver_type {"receivers": [{"port": 1, "receiver_type": 143}]}
baud_rate {"receivers": [{"port": 1, "baud_rate": 99999999999}]}
prefix {"receivers": [{"port": 1, "prefix": 7}]}
colour {"receivers": [{"port": 1, "colour": 1}]}
receivers {"receivers": {"port": 1}}
extra {"extra": 1, "receivers": []}
CASES
[ "$(cksum <"$dir/st/TorvaCom.dta" 2>/dev/null || echo none)" = "$sum" ] || fail "receivers wrote a refused description"

# run: durations must be seconds above 0.
for d in -5 0 nan inf abc; do refuses "run --duration $d" "--duration" -- "$cli" run --station "$dir/st" "--duration=$d"; done

# history-dump: the period is a month key.
for p in abc 202613 2026121 ../x; do refuses "history-dump --period $p" "--period" -- "$cli" history-dump --station "$dir/st" --period "$p" history; done

# duriduvaze-sim: only COM1..COM16, never a link outside <station>/ports.
ln -s /nonexistent-target "$dir/st/xlink"
for p in ../xlink COM99 COM0 COM01 com1; do
  refuses "sim --port $p" "COM1..COM16" -- "$sim" --receiver 7 --station "$dir/st" --port "$p" --count 1 --duration 1
done
[ -L "$dir/st/xlink" ] && [ "$(readlink "$dir/st/xlink")" = /nonexistent-target ] || fail "sim touched a link outside ports/"
exit 0
