#!/bin/sh
# Every command that `korvalin-cli --help` lists has an entry in the manual page.
#   sh check-manual.sh KORVALIN_CLI MANUAL_PAGE
set -eu
cli=$1 page=$2
commands=$("$cli" --help | sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p')
[ -n "$commands" ] || { echo "no commands in --help"; exit 1; }
status=0
for c in $commands; do
  escaped=$(printf '%s' "$c" | sed 's/-/\\-/g')
  if ! grep -qF -e ".B $escaped" -e "\\fB$escaped\\fP" "$page"; then
    echo "the manual page has no entry for \"$c\""
    status=1
  fi
done
exit $status
