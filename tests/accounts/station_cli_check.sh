#!/bin/sh
# Loads the documented example station with the command-line tool, dumps it back, and checks that a
# misspelt field is refused with its name and a failing exit status.
set -e
cli=$1
example=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$cli" load --station "$dir" "$example"
"$cli" dump --station "$dir" client_index | grep -q '"account_number":"1234"'
"$cli" dump --station "$dir" schedules | grep -q '"schedule_name":"Office"'
"$cli" dump --station "$dir" company | grep -q '"schedule_delay_minutes":15'
echo '{"clients": [{"acount_number": "1"}]}' > "$dir/bad.json"
if "$cli" load --station "$dir" "$dir/bad.json" 2> "$dir/err"; then exit 1; fi
grep -q acount_number "$dir/err"
