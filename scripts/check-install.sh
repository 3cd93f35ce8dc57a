#!/usr/bin/env bash
# Builds the Debian package, installs the same build into a temporary prefix and checks what
# a desktop reads from it: the desktop entry, the AppStream metainfo, the pilot file type,
# the application that opens it, the icons, the manual pages and the bash completion; then
# runs lintian on the package.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$(scripts/package.sh | tail -n 1)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install build/package --prefix "$prefix/usr" >/dev/null
share=$prefix/usr/share
id=example.vessk.Brevanta
failures=0

check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok    $what"
    else
        echo "FAIL  $what"
        failures=$((failures + 1))
    fi
}

# Runs a command that must succeed and say nothing: no warning, no hint.
silently() {
    local output
    output=$("$@" 2>&1) && [[ -z "$output" ]] || { echo "$output"; return 1; }
}

desktop_entry() {
    silently desktop-file-validate "$share/applications/$id.desktop"
}

metainfo() {
    appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null ||
        appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
}

pilot_type() {
    xmllint --noout "$share/mime/packages/$id.xml" || return 1
    # The install refreshed the caches of its prefix.
    [[ -s "$share/mime/mime.cache" && -s "$share/applications/mimeinfo.cache" ]] || return 1
    local folder
    folder=$(mktemp -d -p "$prefix")
    build/package/examples/make-sample-pilot "$folder/sample.TFR" >/dev/null || return 1
    cp "$folder/sample.TFR" "$folder/lower.tfr"
    local name type
    for name in sample.TFR lower.tfr; do
        type=$(XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$folder" XDG_CURRENT_DESKTOP= \
            xdg-mime query filetype "$folder/$name")
        [[ "$type" == application/x-brevanta-pilot ]] || { echo "$name: $type"; return 1; }
    done
    # A double click on a pilot file starts the editor.
    local handler
    handler=$(XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$folder" XDG_CONFIG_HOME="$folder" \
        XDG_CONFIG_DIRS="$folder" XDG_CURRENT_DESKTOP= xdg-mime query default application/x-brevanta-pilot)
    [[ "$handler" == "$id.desktop" ]] || { echo "handler: $handler"; return 1; }
}

icons() {
    [[ -s "$share/icons/hicolor/scalable/apps/$id.svg" ]] || return 1
    local size description
    for size in 16 22 24 32 48 64 128 256; do
        description=$(file -b "$share/icons/hicolor/${size}x${size}/apps/$id.png")
        [[ "$description" == "PNG image data, $size x $size, "* ]] ||
            { echo "$size: $description"; return 1; }
    done
}

manual_pages() {
    render() { MANWIDTH=80 man --warnings -l "$1" >/dev/null; }
    local page
    for page in brevanta brevanta-cli; do
        silently render "$share/man/man1/$page.1.gz" || return 1
    done
}

# The completion loads, and offers the commands, every option each command's --help lists,
# and the field names of the record.
completion() {
    local script=$share/bash-completion/completions/brevanta-cli
    bash -n "$script" || return 1
    local cli=build/package/cli/brevanta-cli command option
    # The words offered for the command line "brevanta-cli WORD...", the last one being typed.
    offered() {
        bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"; shift
                 compopt() { :; }  # only works inside a real completion
                 COMP_WORDS=(brevanta-cli "$@"); COMP_CWORD=$#; COMP_LINE="${COMP_WORDS[*]}"
                 COMP_POINT=${#COMP_LINE}; _brevanta_cli; printf "%s\n" "${COMPREPLY[@]}"' \
            _ "$script" "$@"
    }
    offers() {
        local word=$1 words
        shift
        words=$(offered "$@") && grep -qxF -- "$word" <<<"$words" ||
            { echo "brevanta-cli $* does not offer $word"; return 1; }
    }
    offers set "" || return 1
    offers 'BattleMissionScore[' set ACE.TFR Battle || return 1
    offers 'Rank=' set ACE.TFR Ra || return 1
    offers theirs merge BASE.TFR MINE.TFR THEIRS.TFR --prefer "" || return 1
    for command in show report bsf new set diff merge check; do
        for option in $("$cli" "$command" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
            offers "$option" "$command" -- || return 1
        done
    done
}

package() {
    lintian --fail-on error,warning "$deb" || return 1
    # What apt would install for it here (nothing is installed).
    apt-get install --simulate "$deb" | grep -q '^Inst brevanta '
}

check "desktop entry ($id.desktop)" desktop_entry
check "AppStream metainfo" metainfo
check "pilot file type (*.TFR, *.tfr), opened by the editor" pilot_type
check "icons: scalable and 16 to 256 pixels" icons
check "manual pages brevanta(1), brevanta-cli(1)" manual_pages
check "bash completion of brevanta-cli" completion
check "Debian package $(basename "$deb")" package
if ((failures > 0)); then
    echo "$failures of the install checks failed" >&2
    exit 1
fi
