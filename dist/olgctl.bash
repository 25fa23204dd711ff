# Bash completion for olgctl: verbs, options and their values, "all" and "type=MODEL" for the devices, and
# the files a verb takes. Device names are not offered: finding them would take a scan of the LAN per Tab.

_olgctl_models="olg1n olg4a olg4n olg8a olg8k olg8n olg8w"
_olgctl_valued="--bind --target --interface --format --pdf --png --log --tftp-port --ftp-port --interval --count"

# Adds the candidates that begin with $cur to COMPREPLY, less the part of $cur that bash has already split
# off as earlier words (at "=" and ":", when they are in COMP_WORDBREAKS).
__olgctl_add() {
    local breaks=${COMP_WORDBREAKS//[^=:]/} prefix= candidate
    if [[ -n $breaks && $cur == *["$breaks"]* ]]; then
        prefix=${cur%"${cur##*["$breaks"]}"}
    fi
    for candidate in "$@"; do
        if [[ $candidate == "$cur"* ]]; then
            COMPREPLY+=("${candidate#"$prefix"}")
        fi
    done
}

# Folders and the files whose extension is one of $1 ("bin|cfg"; empty: any file), after the option text $2
# of "--option=FILE".
__olgctl_files() {
    local extensions=$1 before=$2 file
    local -a found matching=()
    mapfile -t found < <(compgen -f -- "${cur#"$before"}")
    for file in "${found[@]}"; do
        if [[ -d $file || -z $extensions || ${file,,} =~ \.($extensions)$ ]]; then
            matching+=("$before$file")
        fi
    done
    compopt -o filenames 2>/dev/null
    __olgctl_add "${matching[@]}"
}

_olgctl() {
    # Words split at blanks only, so that "type=olg8n" and "ADDR:PORT" stay one word each.
    local line=${COMP_LINE:0:COMP_POINT}
    local -a words
    read -ra words <<<"$line"
    [[ -z $line || $line == *[[:space:]] ]] && words+=("")
    local cur=${words[-1]} prev= option before=
    ((${#words[@]} > 1)) && prev=${words[-2]}
    COMPREPLY=()

    # The value of an option, after a blank or after "=".
    option=$prev
    if [[ $cur == --*=* ]]; then
        option=${cur%%=*}
        before=$option=
    elif [[ " $_olgctl_valued " != *" $prev "* ]]; then
        option=
    fi
    case $option in
    --format)
        if [[ " ${words[*]} " == *" watch "* ]]; then
            __olgctl_add "${before}table" "${before}jsonl"
        else
            __olgctl_add "${before}table" "${before}csv" "${before}json"
        fi
        return
        ;;
    --interface)
        local name
        for name in /sys/class/net/*; do
            __olgctl_add "$before${name##*/}"
        done
        return
        ;;
    --pdf | --png)
        __olgctl_files "${option#--}" "$before"
        return
        ;;
    --log)
        __olgctl_files "" "$before"
        return
        ;;
    --*) return ;; # an address or a port
    esac

    # The verb: the first word that is neither an option nor an option's value.
    local verb= i
    for ((i = 1; i < ${#words[@]} - 1; i++)); do
        if [[ ${words[i]} != -* ]]; then
            verb=${words[i]}
            break
        fi
        [[ " $_olgctl_valued " == *" ${words[i]} "* ]] && ((i++))
    done

    local common="--bind --target --interface --demo --quiet --help --version"
    local verbs="scan read write save load apply diff label upgrade watch help"
    if [[ -z $verb ]]; then
        if [[ $cur == -* ]]; then
            __olgctl_add $common
        else
            __olgctl_add $verbs
        fi
        return
    fi

    local options= files=-
    case $verb in
    scan) options="--format" ;;
    watch) options="--interval --format --count" ;;
    read) options="--format --show-passwords --jobs" ;;
    write) options="--all --yes --jobs" ;;
    save)
        options="--jobs"
        files=cfg
        ;;
    load)
        options="--dry-run --format --yes --show-passwords --with-address --jobs"
        files=cfg
        ;;
    apply)
        options="--dry-run --yes --show-passwords --jobs"
        files="csv|json"
        ;;
    diff)
        options="--format --show-passwords"
        files=cfg
        ;;
    label) options="--pdf --png --log" ;;
    upgrade)
        options="--yes --tftp-port --ftp-port --jobs"
        files="bin|cfg"
        ;;
    help)
        [[ $prev == help ]] && __olgctl_add ${verbs% help}
        return
        ;;
    *) return ;;
    esac
    if [[ $cur == -* ]]; then
        __olgctl_add $options $common
        return
    fi
    [[ $verb == scan || $verb == watch ]] && return
    if [[ $verb == apply ]]; then
        __olgctl_files "$files" ""
        return
    fi
    if [[ $cur == type=* ]]; then
        local model
        for model in $_olgctl_models; do
            __olgctl_add "type=$model"
        done
        return
    fi
    __olgctl_add all type=
    [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
    if [[ $files != - ]]; then
        __olgctl_files "$files" ""
    fi
}

complete -F _olgctl olgctl
