#!/usr/bin/env bash
# Builds the Debian package from a copy of the source, checks it with lintian, installs it,
# runs the installed vk930ctl against the installed vk930-sim on a pseudo-terminal, checks
# the manual pages and the completion, and removes the package again.
# Everything it writes stays in build-package/ (the package tools write next to the source).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo)
work="$PWD/build-package"
started=$SECONDS
step() { echo "== package: $* ($((SECONDS - started)) s)"; }

step "copying the source"
rm -rf "$work"
mkdir -p "$work/src"
git ls-files -z --cached --others --exclude-standard |
    tar --null -T - -cf - | tar -xf - -C "$work/src"

step "building"
# The package build gives the tools a home of their own; the compiler cache stays the user's.
if command -v ccache >/dev/null; then
    CCACHE_DIR="$(ccache -k cache_dir)"
    export CCACHE_DIR
fi
(cd "$work/src" && dpkg-buildpackage -b -us -uc -j2) >"$work/build.log" 2>&1 || {
    tail -n 60 "$work/build.log"
    echo "package: the build failed; the whole log is $work/build.log" >&2
    exit 1
}
deb=$(ls "$work"/vk930config_*.deb)
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB, installed size" \
    "$(dpkg-deb -f "$deb" Installed-Size) KiB"

step "lintian"
lintian --fail-on error,warning --info "$deb"

step "installing"
(cd "$work" && DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -q \
    --no-install-recommends "./$(basename "$deb")")

sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    return 0
}
trap cleanup EXIT

step "exercising the installed programs"
run="$work/run"
mkdir -p "$run/config" "$run/data" "$run/state" "$run/cwd"
export XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data" XDG_STATE_HOME="$run/state"
settings="$run/settings.ini"
/usr/bin/vk930-sim --link "$run/vk0" "sim:$run/terminal.bin" &
sim_pid=$!
for _ in $(seq 50); do [ -e "$run/vk0" ] && break; sleep 0.1; done
ctl() { (cd "$run/cwd" && /usr/bin/vk930ctl --settings "$settings" --link "$run/vk0" "$@"); }
expect() {  # expect TEXT OUTPUT: fails unless OUTPUT holds TEXT
    grep -qF -- "$1" <<<"$2" || { echo "package: expected '$1' in:" >&2; echo "$2" >&2; exit 1; }
}
expect "Done" "$(ctl info)"
ctl get "$run/saved.pcg" >/dev/null
expect "END" "$(tail -n 1 "$run/saved.pcg")"
expect "DONE Succesfully!" "$(ctl set "$run/saved.pcg")"
# The working directory has no boot file: the packaged one in /usr/share/vk930config is used.
expect "UPLOADING DONE" "$(ctl firmware /usr/share/doc/vk930config/examples/hsbt15.a20)"
expect "1.5" "$(ctl info)"
expect "[ok]   boot file '/usr/share/vk930config/boot.a20'" "$(ctl doctor)"
/usr/bin/vk930ctl --settings "$settings" ports --assign 2 "sim:$run/terminal.bin" >/dev/null
expect "  COM2  sim:$run/terminal.bin  (simulated terminal)" \
    "$(/usr/bin/vk930ctl --settings "$settings" ports)"
cleanup
sim_pid=
# The installed window finds the type registered system-wide and writes no copy for the user.
(cd "$run/cwd" && QT_QPA_PLATFORM=offscreen /usr/bin/vk930config --settings "$settings" \
    --link sim --exit-when-shown >/dev/null)
if [ -e "$run/data/applications/vk930config.desktop" ]; then
    echo "package: the installed window wrote a desktop entry for the user" >&2
    exit 1
fi

step "manual pages, completion, desktop files"
for program in vk930config vk930ctl vk930-sim; do man -w "$program"; done
bash -c 'source /usr/share/bash-completion/bash_completion
         source /usr/share/bash-completion/completions/vk930ctl
         complete -p vk930ctl'
appstreamcli validate --no-net /usr/share/metainfo/org.vk930.vk930config.metainfo.xml
desktop-file-validate /usr/share/applications/vk930config.desktop
test -f /usr/share/mime/packages/vk930config.xml
test -f /usr/share/icons/hicolor/scalable/apps/vk930config.svg

step "removing"
DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get remove -y -q vk930config
step "done"
