# Bash completion for zelta: commands, each command's options (read from its own --help), the
# operations the loaded module registers (zelta options --list), and PDF files.
_zelta() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  local command="" at=0 i
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      --settings | --module) ((i++)) ;;
      -*) ;;
      *) command=${COMP_WORDS[i]} at=$i; break ;;
    esac
  done
  local commands
  commands=$(zelta --help 2>/dev/null | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && NF { print $1 }')
  if [[ -z $command ]]; then
    if [[ $cur == -* ]]; then
      mapfile -t COMPREPLY < <(compgen -W "--help --version --settings --module" -- "$cur")
    else
      mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
    fi
    return
  fi
  case $prev in
    -o | --output | --options | --settings | --module | --output-dir)
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return ;;
    --set | --select-bookmarks | --select-text | --find | --password | --pages | --index | \
      -j | --jobs | --separator | --action-separator)
      return ;;
  esac
  if [[ $cur == -* ]]; then
    local flags
    flags=$(zelta "$command" --help 2>/dev/null | grep -oE -- '(^|[ ,])--?[a-zA-Z][-a-zA-Z]*' |
      tr -d ' ,' | sort -u)
    mapfile -t COMPREPLY < <(compgen -W "$flags" -- "$cur")
    return
  fi
  if [[ ($command == run || $command == options || $command == macros) &&
    $COMP_CWORD -eq $((at + 1)) ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$(zelta options --list 2>/dev/null | cut -f1)" -- "$cur")
    return
  fi
  case $command in
    help) mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur") ;;
    settings) mapfile -t COMPREPLY < <(compgen -W "show reset" -- "$cur") ;;
    result) ;;
    *) mapfile -t COMPREPLY < <(compgen -f -X '!*.[pP][dD][fF]' -- "$cur"; compgen -d -- "$cur") ;;
  esac
}
complete -o filenames -F _zelta zelta
