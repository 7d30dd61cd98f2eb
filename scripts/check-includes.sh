#!/usr/bin/env bash
# Checks src/ against the README's "Layout" section: every #include "..." points down the floors, only
# the ui shell touches the main form's controls, only the message helper opens a message box, and
# no file grows past 500 lines. Prints each violation with its file and line; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"

# The floors each subsystem may include besides its own ("link-core": the link's core only); app may
# include every floor.
declare -A allowed=([base]="" [ui]="base" [link]="base" [protocol]="link-core base" [keystore]="ui base")

is_shell() { [[ ${1#*/} == */win/* || ${1#*/} == win/* ]]; }

# Sets why to the reason an include from $1 of $2 (both relative to src/) breaks the rule, or to
# nothing when it keeps it.
reason() {
  local sub=${1%%/*} tsub=${2%%/*}
  why=
  if ! is_shell "$1" && is_shell "$2"; then
    why="a core file never includes a win/ file"
  elif [[ $sub != app && $sub != "$tsub" ]]; then
    local floors=" ${allowed[$sub]} "
    if [[ $floors == *" $tsub "* ]]; then return; fi
    if [[ $floors == *" $tsub-core "* ]] && ! is_shell "$2"; then return; fi
    why="src/$sub includes only itself${allowed[$sub]:+ and ${allowed[$sub]// /, }}"
  fi
}

count=0
report() {
  echo "$1"
  count=$((count + 1))
}

while IFS=: read -r file line text; do
  [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]+\"([^\"]+)\" ]] || continue
  target=${BASH_REMATCH[1]}
  reason "$file" "$target"
  [[ -n $why ]] && report "src/$file:$line: includes $target: $why"
done < <(grep -rn --include='*.h' --include='*.cpp' --include='*.inc' '#[[:space:]]*include[[:space:]]*"' . | sed 's|^\./||')

while IFS=: read -r file line _; do
  report "src/$file:$line: touches a control of the main form, which only src/ui/win does"
done < <(grep -rnE '(GetDlgItem|SendDlgItemMessage[AW]?|CheckRadioButton|IsDlgButtonChecked|CheckDlgButton|[GS]etDlgItemText[AW]?|EnumChildWindows)\(\s*g_mainWindow' . |
         sed 's|^\./||' | grep -v '^ui/win/' || true)

while IFS=: read -r file line _; do
  report "src/$file:$line: opens a message box, which only the message helper does"
done < <(grep -rnE '\bMessageBox[A-Za-z]*\(' . | sed 's|^\./||' | grep -v '^ui/win/message_box\.cpp:' || true)

while read -r lines file; do
  [[ $file == total ]] && continue
  ((lines > 500)) && report "src/${file#./}: $lines lines, more than a file of one window or service needs"
done < <(find . -name '*.h' -o -name '*.cpp' -o -name '*.inc' | xargs wc -l)

if ((count > 0)); then
  echo "check-includes.sh: $count violation(s) of the layout rule" >&2
  exit 1
fi
