#!/usr/bin/env bash
# Checks every #include "..." under src/ against the include rule of the README's "Layout" section
# and prints each violation with its file and line; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"

# Sets why to the reason an include from $1 of $2 (both relative to src/) breaks the rule, or to
# nothing when it keeps it.
reason() {
  local from=$1 to=$2
  why=
  local sub=${from%%/*} tsub=${to%%/*} shell=0 tshell=0
  [[ ${from#*/} == */win/* || ${from#*/} == win/* ]] && shell=1
  [[ ${to#*/} == */win/* || ${to#*/} == win/* ]] && tshell=1
  if [[ $sub == app ]]; then return; fi
  if [[ $tsub == app ]]; then why="only src/app includes src/app"; return; fi
  if [[ $sub == base && $tsub != base ]]; then why="src/base includes only src/base"; return; fi
  if ((!shell && tshell)); then why="a core file never includes a win/ file"; return; fi
  if [[ $sub == protocol && $shell == 0 && $tsub == ui ]]; then
    why="the protocol core does not include the ui core"; return
  fi
  if [[ $sub == ui && $tsub != ui && $tsub != base ]]; then why="ui includes only ui and base"; return; fi
  if ((shell && tshell)) && [[ $sub != "$tsub" && $sub =~ ^(link|protocol|keystore)$ &&
                               $tsub =~ ^(link|protocol|keystore)$ ]]; then
    why="the link, protocol and keystore shells do not include each other"
  fi
}

count=0
while IFS=: read -r file line text; do
  [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]+\"([^\"]+)\" ]] || continue
  target=${BASH_REMATCH[1]}
  reason "$file" "$target"
  if [[ -n $why ]]; then
    echo "src/$file:$line: includes $target: $why"
    count=$((count + 1))
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' --include='*.inc' '#[[:space:]]*include[[:space:]]*"' . | sed 's|^\./||')
if ((count > 0)); then
  echo "check-includes.sh: $count include(s) break the layout rule" >&2
  exit 1
fi
