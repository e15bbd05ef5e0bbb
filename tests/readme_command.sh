#!/usr/bin/env bash
# Runs one of the README's commands as a user does and fails unless it did its job, so that no
# command the README names stops working unnoticed:
#   readme_command.sh bench     one round of scripts/bench prints every figure
#   readme_command.sh package   scripts/package writes the zip, which holds the program and its README
# Run by ctest inside scripts/test, the command shares the suite's display, sound server and Wine.
set -euo pipefail
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../scripts" && pwd)"
number='[0-9]+(\.[0-9]+)?'

command=$1
arguments=()
[ "$command" = bench ] && arguments=(1)
status=0
output=$("$scripts/$command" "${arguments[@]}" 2>&1) || status=$?
printf '%s\n' "$output"
[ "$status" -eq 0 ] || exit "$status"

expect() {
  grep -Eq -- "$1" <<<"$output" || {
    printf 'Missing from the output of scripts/%s: %s\n' "$command" "$1"
    exit 1
  }
}

case "$command" in
bench)
  for program in sonobar floor-dialog floor-mixer; do
    expect "^$program +1 +$number +$number$"
  done
  for floor in floor-dialog floor-mixer; do
    expect "^sonobar / $floor: start to visible $number, peak working set $number$"
  done
  expect "^sonobar.exe [0-9]+ bytes .*; ratio $number$"
  for action in 'change notification' 'slider notification \(with echo\)' 'mute click \(with echo\)'; do
    expect "^$action +$number +[0-9]+ +$number$"
  done
  expect "^process start +$number +-$"
  # Fifty programs are more than a screen has room for: the menu lists as many as fit.
  for programs in 0 50 10; do
    listed=$programs
    [ "$programs" = 50 ] && listed='[1-9][0-9]*'
    expect "^programs $programs: menu open $number ms with $listed listed \\(median of [0-9]+\\), idle [0-9]+ s: CPU $number ms, [0-9]+ wake-ups$"
  done
  for part in 'application set-up' 'dialog and controls' settings 'mixer connection' \
    'line selection' 'menu and its line probes' 'placement and show \(visible\)' tooltips pictures \
    'control states' 'first paint'; do
    expect "^$part +$number +[0-9]+$"
  done
  ;;
package)
  expect '^Wrote .*/dist/sonobar-[0-9.]+-win32\.zip$'
  expect '^ +sonobar\.exe$'
  expect '^ +README\.txt$'
  ;;
*)
  printf 'No check for scripts/%s\n' "$command"
  exit 2
  ;;
esac
