#!/usr/bin/env bash
# Installs a build folder twice, with "cmake --install" and as the Debian
# package unpacked by "dpkg -x", and checks that both put the program, its menu
# entry, icons, AppStream data, manual and manual page where the desktop looks
# for them, that the installed program answers --version and --help without a
# display, that, started from the menu entry's Exec line, it keeps its settings
# in the user's configuration folder, and that lintian finds nothing to warn
# about in the package. Usage: install_test.sh BUILD-FOLDER
set -euo pipefail

build=$(cd "$1" && pwd)
# Private libraries live in the architecture's own library folder.
multiarch=$(c++ -print-multiarch)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# png_size FILE: "WIDTHxHEIGHT" from the PNG header.
png_size() {
    local bytes
    read -r -a bytes <<<"$(od -An -tu1 -j16 -N8 "$1")"
    echo "$(((bytes[0] << 24) + (bytes[1] << 16) + (bytes[2] << 8) + bytes[3]))x$(((bytes[4] << 24) + (bytes[5] << 16) + (bytes[6] << 8) + bytes[7]))"
}

# check_tree PREFIX: the files of an installed program, where menus, icon
# themes, software centres and the program itself look for them.
check_tree() {
    local prefix=$1
    local file
    for file in bin/hostlore "lib/$multiarch/hostlore/libhostlore_window.so" \
        "lib/$multiarch/hostlore/libhostlore_tls.so" "lib/$multiarch/hostlore/libhostlore_dns.so" \
        "lib/$multiarch/hostlore/libhostlore_web_engine.so" share/applications/hostlore.desktop \
        share/metainfo/example.hostlore.Hostlore.metainfo.xml \
        share/icons/hicolor/scalable/apps/hostlore.svg share/hostlore/help/index.html \
        share/man/man1/hostlore.1.gz share/bash-completion/completions/hostlore; do
        [ -f "$prefix/$file" ] || fail "$prefix: $file missing"
    done
    [ -x "$prefix/bin/hostlore" ] || fail "$prefix: bin/hostlore is not executable"
    local size
    for size in 48 128 256; do
        file=$prefix/share/icons/hicolor/${size}x${size}/apps/hostlore.png
        if [ ! -f "$file" ]; then
            fail "$prefix: ${size}px icon missing"
        elif [ "$(png_size "$file")" != "${size}x${size}" ]; then
            fail "$file is $(png_size "$file")"
        fi
    done
    local desktop=$prefix/share/applications/hostlore.desktop
    [ "$(sed -n 's/^Icon=//p' "$desktop")" = hostlore ] || fail "the menu entry names another icon"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "desktop-file-validate refused the menu entry"
    fi
    if command -v appstreamcli >/dev/null; then
        appstreamcli validate --no-net "$prefix/share/metainfo/example.hostlore.Hostlore.metainfo.xml" \
            >"$work/appstream.log" || { cat "$work/appstream.log"; fail "appstreamcli refused the metainfo"; }
    fi
    # Every page, picture and style sheet the manual links to is installed.
    local help=$prefix/share/hostlore/help target
    while read -r target; do
        [ -f "$help/$target" ] || fail "the manual links to $target, which is not installed"
    done < <(grep -oE '(src|href)="[^":#]+"' "$help/index.html" | sed -E 's/^[a-z]+="(.*)"$/\1/')
}

# check_program PREFIX: the installed program as a user meets it.
check_program() {
    local prefix=$1
    local output
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/hostlore" --version) ||
        fail "--version failed without a display"
    [ "$output" = "hostlore 1.23" ] || fail "--version printed '$output'"
    # The manual page is made from --help, so it names the same options.
    zcat "$prefix/share/man/man1/hostlore.1.gz" | grep -qF -- '\-\-version' ||
        fail "the manual page does not describe --version"
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/hostlore" --help) ||
        fail "--help failed without a display"
    grep -q -- '--version' <<<"$output" || fail "--help does not list --version: $output"

    # The completion offers the options --help lists, no more and no fewer.
    local completion=$prefix/share/bash-completion/completions/hostlore
    local listed offered
    listed=$(grep -oE -- '--[a-z][a-z-]+' <<<"$output" | sort -u)
    if [ -f /usr/share/bash-completion/bash_completion ]; then
        offered=$(bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"
            COMP_WORDS=(hostlore --); COMP_CWORD=1; COMP_LINE="hostlore --"; COMP_POINT=11
            _hostlore; printf "%s\n" "${COMPREPLY[@]}"' - "$completion" | sort -u)
        [ "$listed" = "$offered" ] ||
            fail "the completion offers $(echo $offered), --help lists $(echo $listed)"
    else
        fail "bash-completion is not installed; the completion was not checked"
    fi

    # Started as the menu starts it, by its Exec line on PATH, for a user
    # whose configuration folder does not exist yet. The window runs until
    # the time is up: a program that fails to start ends sooner.
    local home=$work/home-$RANDOM exec_line status=0
    mkdir -p "$home"
    # The menu puts the address a link names where %u stands; there is none here.
    exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/hostlore.desktop" | sed 's/ %u$//')
    env -u XDG_CONFIG_HOME HOME="$home" PATH="$prefix/bin:/usr/bin:/bin" QT_QPA_PLATFORM=offscreen \
        timeout 4 $exec_line >"$work/run.log" 2>&1 || status=$?
    [ "$status" -eq 124 ] || { cat "$work/run.log"; fail "'$exec_line' ended with status $status"; }
    [ -d "$home/.config/hostlore" ] || fail "no settings folder in ~/.config/hostlore"
    [ "$(stat -c %a "$home/.config/hostlore" 2>/dev/null)" = 700 ] ||
        fail "~/.config/hostlore is not private"
    [ ! -e "$prefix/bin/settings.ini" ] || fail "settings.ini written beside the installed program"
}

# The build folder keeps the manual beside the program.
[ -f "$build/src/help/index.html" ] || fail "no help/index.html beside the program in the build folder"

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log"
check_tree "$work/prefix"
check_program "$work/prefix"

if command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log") ||
        { cat "$work/cpack.log"; fail "cpack failed"; exit 1; }
    deb=$(echo "$work"/package/hostlore_1.23_*.deb)
    [ -f "$deb" ] || { fail "no package made"; exit 1; }
    depends=$(dpkg-deb -f "$deb" Depends)
    for library in libc6 libqt6core6 libqt6widgets6 libjpeg62-turbo liblz4-1 libc-ares2 libunbound8; do
        grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
    done
    dpkg -x "$deb" "$work/root"
    check_tree "$work/root/usr"
    check_program "$work/root/usr"
    # The package holds what "cmake --install" installs, plus Debian's own files.
    diff <(cd "$work/prefix" && find . -type f | sort) \
        <(cd "$work/root/usr" && find . -type f | grep -v '^./share/doc/hostlore/' | sort) ||
        fail "the package and cmake --install install different files"
    [ -f "$work/root/usr/share/doc/hostlore/copyright" ] || fail "no copyright file in the package"
    gzip -t "$work/root/usr/share/doc/hostlore/changelog.gz" || fail "no changelog in the package"
    if command -v lintian >/dev/null; then
        lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
            { cat "$work/lintian.log"; fail "lintian found errors or warnings"; }
    else
        fail "lintian is not installed; the package was not checked"
    fi
else
    echo "install_test: dpkg-dev is not installed; the package was not checked" >&2
fi

[ "$failures" -eq 0 ]
