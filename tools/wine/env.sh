# Sourced, not run: sets up the environment the Wine test scripts share.
#   . tools/wine/env.sh [PREFIX]      (PREFIX defaults to $VK37_WINEPREFIX)
# Quiet, with no Mono/Gecko install dialogs, and with a Chinese UTF-8 locale
# because captions and message boxes only render their Chinese text under
# one; VK37_WINE_LOCALE=en_US.UTF-8 runs programs in English instead. The
# locales are compiled into a directory beside the prefix so the system's
# locale set-up stays untouched.

vk37_wine_env() {
    local prefix="${1:-${VK37_WINEPREFIX:-}}"
    if [ -z "$prefix" ]; then
        echo "env.sh: give a Wine prefix or set VK37_WINEPREFIX" >&2
        return 2
    fi
    # Wine refuses a relative prefix.
    case "$prefix" in
    /*) ;;
    *) prefix="$PWD/$prefix" ;;
    esac
    prefix="${prefix%/}"

    local wine
    wine="$(command -v wine || command -v wine64 || true)"
    if [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ]; then
        wine=/usr/lib/wine/wine64
    fi
    if [ -z "$wine" ]; then
        echo "env.sh: no wine or wine64 found" >&2
        return 127
    fi
    local wineserver
    wineserver="$(command -v wineserver || true)"
    if [ -z "$wineserver" ] && [ -x /usr/lib/wine/wineserver64 ]; then
        wineserver=/usr/lib/wine/wineserver64
    fi

    local locales="$prefix.locale" locale
    for locale in zh_CN en_US; do
        [ ! -e "$locales/$locale.UTF-8/LC_CTYPE" ] || continue
        mkdir -p "$locales" || return 1
        # Tests may source this in parallel: build aside, then rename into place;
        # a rename that loses the race finds the locale already there.
        local tmp
        tmp="$(mktemp -d "$locales/tmp.XXXXXX")" || return 1
        if ! localedef -i "$locale" -f UTF-8 "$tmp/$locale.UTF-8" >/dev/null 2>&1 &&
            [ ! -e "$tmp/$locale.UTF-8/LC_CTYPE" ]; then
            echo "env.sh: localedef could not build $locale.UTF-8 (package locales)" >&2
            rm -rf "$tmp"
            return 1
        fi
        mv -T "$tmp/$locale.UTF-8" "$locales/$locale.UTF-8" 2>/dev/null || true
        rm -rf "$tmp"
    done

    export WINEPREFIX="$prefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINE="$wine"
    export WINESERVER="${wineserver:-wineserver}"
    export LOCPATH="$locales"
    # Wine takes the user interface language from the locale. The shell
    # itself cannot load the private locale and would warn about it.
    local locale_name="${VK37_WINE_LOCALE:-zh_CN.UTF-8}"
    export LANG="$locale_name" 2>/dev/null
    export LC_ALL="$locale_name" 2>/dev/null
}

if vk37_wine_env "$@"; then
    unset -f vk37_wine_env
else
    unset -f vk37_wine_env
    return 1
fi
