#!/usr/bin/env bash
# The programs' command lines, beyond what the show's own runs cover.
#   commandline_e2e.sh PINDLE_CONTENT PINDLE_INSPECT PINDLE_CAPTURE
# Every --help ends with a newline; pindle-content --out makes a missing folder and its
# parents, and names the folder when it can't.
set -euo pipefail
content=$1 inspect=$2 capture=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for program in "$content" "$inspect" "$capture"; do
    "$program" --help >"$work/help" || fail "$program --help exits with $?"
    [[ -s $work/help && $(tail -c 1 "$work/help" | od -An -tx1 | tr -d ' ') == 0a ]] ||
        fail "$program --help does not end with a newline"
done

# The folder comes first: it is there although the missing sources end the run at once.
rc=0
"$content" --out "$work/a/b/c" --sources "$work/none" 2>"$work/err" || rc=$?
[[ $rc -eq 1 ]] || fail "exit code $rc with missing sources"
[[ -d $work/a/b/c ]] || fail "--out did not create the folder and its parents"
grep -q "$work/none: no such folder" "$work/err" || fail "unexpected error: $(cat "$work/err")"

touch "$work/file"
rc=0
"$content" --out "$work/file/sub" 2>"$work/err" || rc=$?
[[ $rc -eq 1 ]] || fail "exit code $rc when the folder can't be made"
grep -q "pindle-content: cannot create the folder $work/file/sub: " "$work/err" ||
    fail "unexpected error: $(cat "$work/err")"
echo "PASS"
