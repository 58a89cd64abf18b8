#!/usr/bin/env bash
# huevane-cli's generated bash completion and man page against the program itself: the commands
# in --help, in the completion's offers and in the man page are the same, in the same order;
# --property and --build complete to the texts that 'properties' and 'versions' list; man reads
# the page without a warning; and the help and the page fit 80 columns.
#
#   cli_dist_files_test.sh HUEVANE_CLI COMPLETION MAN_PAGE
cli=$1
completion=$2
man_page=$3
failures=0

expect() {  # WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf '%s:\n  expected: %s\n  actual:   %s\n' "$1" "${2//$'\n'/ | }" "${3//$'\n'/ | }"
    failures=$((failures + 1))
  fi
}

if [ -r /usr/share/bash-completion/bash_completion ]; then
  # shellcheck source=/dev/null
  . /usr/share/bash-completion/bash_completion
else
  # What _huevane_cli needs of bash-completion's, for words without quotes.
  # shellcheck disable=SC2034,SC2317
  _init_completion() {
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
    cur=${words[cword]}
    prev=${words[cword - 1]}
    split=false
    if [[ $cur == --*=* ]]; then
      prev=${cur%%=*}
      cur=${cur#*=}
      split=true
    fi
  }
fi
# shellcheck source=/dev/null
. "$completion"

# What the completion offers for the last word of a huevane-cli command line, one to a line.
offers() {
  local COMP_WORDS=(huevane-cli "$@") COMP_CWORD=$# COMP_LINE="huevane-cli $*" COMP_POINT
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _huevane_cli
  printf '%s\n' "${COMPREPLY[@]}"
}

# Each line of the program's list, escaped as one shell word.
escaped_texts() {
  local text
  "$cli" "$1" | sed 's/^ *[0-9]*  //' | while IFS= read -r text; do printf '%q\n' "$text"; done
}

commands=$("$cli" --help | sed -n '/^Commands:$/,/^$/s/^  \([a-z]*\) .*/\1/p')
expect "commands in the completion" "$commands" "$(offers '' | grep -v '^-')"
expect "offers after a value that is a command's name" "$(offers '')" "$(offers --dir get '')"
expect "offers after the command and --" "" "$(offers get -- '')"
expect "commands in the man page" "$commands" \
  "$(sed -n '/^\.SH COMMANDS$/,/^\.SH /s/^\.SS //p' "$man_page")"

expect "--property values" "$(escaped_texts properties)" "$(offers get --property '')"
expect "--property values typed in part, in any case" \
  "$(escaped_texts properties | grep '^Buddy\\ list')" "$(offers set --property 'buddy\ l')"
expect "--build values" "$(escaped_texts versions)" "$(offers set --build '')"
expect "--build values typed in part" \
  "$(escaped_texts versions | grep '^5\.9')" "$(offers get --build=5.9)"

# The program's help and each command's fit 80 columns, and so does the page as man shows it.
over_80() {  # WHAT: the lines of standard input wider than 80 columns, each after WHAT
  awk -v what="$1" 'length > 80 { print what ": " $0 }'
}
help_over_80=$(for command in '' $commands; do
  # shellcheck disable=SC2086 # no command is no word
  "$cli" $command --help | over_80 "huevane-cli $command --help"
done)
expect "--help lines over 80 columns" "" "$help_over_80"

if command -v man >/dev/null; then
  expect "man's warnings" "" "$(man --warnings -l "$man_page" 2>&1 >/dev/null)"
  page=$(MANWIDTH=80 man -l "$man_page")
  expect "the page's end" "SEE ALSO" "$(grep -x 'SEE ALSO' <<<"$page")"
  expect "man page lines over 80 columns" "" "$(over_80 man <<<"$page")"
fi

exit $((failures > 0))
