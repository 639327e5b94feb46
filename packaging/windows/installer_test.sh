#!/usr/bin/env bash
# Installs the .msi into the Wine prefix quietly, checks the program, the boot file beside
# it (the one the source tree has), its Start-menu shortcut and uninstall entry, starts the installed program and closes it as the close box
# would once it has identified the simulated terminal on COM3 (vk930-sim behind a Wine COM
# port, as tests/platform/win32/run_with_sims.sh links it), then uninstalls and checks that
# the program is gone.
#   installer_test.sh WINE MSI CLOSE_FRAME_EXE VK930_SIM BOOT_FILE
set -euo pipefail
wine=$1 msi=$2 close_frame=$3 sim=$4 boot=$5
with_sims="$(dirname "$0")/../../tests/platform/win32/run_with_sims.sh"
fail() { echo "installer_test: $*" >&2; exit 1; }
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX names no Wine prefix; run scripts/windows_test.sh"
program="$WINEPREFIX/drive_c/Program Files/VK930Config/vk930config.exe"
installed_boot="$(dirname "$program")/boot.a20"
# Windows puts a per-machine product's shortcut in the common Start menu; Wine's installer
# puts it in the installing user's.
menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/VK930Config"
    "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/VK930Config")
uninstall_entries() {
    "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | grep -c 'DisplayName.*VK930Config' || true
}

# Whatever fails, the prefix the other tests share is left without the product.
installed=0
trap '[ $installed -eq 0 ] || "$wine" msiexec /x "$msi" /qn >/dev/null 2>&1 || true' EXIT
"$wine" msiexec /i "$msi" /qn || fail "msiexec /i failed"
installed=1
[ -f "$program" ] || fail "no $program after the install"
# A firmware upload looks for the boot file beside the program.
cmp -s "$boot" "$installed_boot" || fail "no boot file $installed_boot like $boot after the install"
[ -f "${menus[0]}/VK930Config.lnk" ] || [ -f "${menus[1]}/VK930Config.lnk" ] ||
    fail "no Start-menu shortcut in ${menus[*]}"
[ "$(uninstall_entries)" -ge 1 ] || fail "no uninstall entry named VK930Config"

# The installed program starts, identifies the terminal on COM3 from its button, and goes
# when its frame is asked to close.
"$wine" "$program" --link COM3 &
started=$!
identified=$(bash "$with_sims" "$sim" "$wine" "$close_frame" --identify) ||
    { kill "$started" 2>/dev/null; fail "the program did not identify the terminal on COM3 or did not close"; }
[[ "$identified" == *"Type: KD04010003"* ]] || fail "the program identified \"$identified\", not the simulated terminal"
wait "$started" || fail "the program ended with status $?"

"$wine" msiexec /x "$msi" /qn || fail "msiexec /x failed"
installed=0
[ ! -e "$program" ] || fail "$program is still there after the uninstall"
[ ! -e "$installed_boot" ] || fail "$installed_boot is still there after the uninstall"
[ ! -e "${menus[0]}/VK930Config.lnk" ] && [ ! -e "${menus[1]}/VK930Config.lnk" ] ||
    fail "the Start-menu shortcut is still there after the uninstall"
[ "$(uninstall_entries)" -eq 0 ] || fail "the uninstall entry is still there"
echo "installer_test: installed, started, closed and uninstalled $(basename "$msi")"
