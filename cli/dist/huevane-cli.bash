# bash completion for huevane-cli: its commands, and each command's options.
_huevane_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="versions properties locate detect get set restore"
    local global="--dir --prefix --help --version"
    local command="" w
    for w in "${words[@]:1:cword-1}"; do
        case " $commands " in *" $w "*) command=$w; break ;; esac
    done

    case $prev in
        --dir|--prefix)
            _filedir -d
            return ;;
        --from|--backup)
            _filedir
            return ;;
        --build|--property|--color)
            return ;;
    esac

    local options
    case $command in
        versions|properties|locate|detect) options="--json" ;;
        get) options="--build --property --json --force" ;;
        set) options="--build --property --color --from --backup --force" ;;
        restore) options="--backup" ;;
        "") COMPREPLY=($(compgen -W "$commands $global" -- "$cur")); return ;;
    esac
    COMPREPLY=($(compgen -W "$options --dir --prefix --help" -- "$cur"))
}
complete -F _huevane_cli huevane-cli
