#!/usr/bin/env bash
# Checks the shipped executable: a 32-bit GUI program that imports system
# DLLs only, calls the ANSI forms of the system functions, and carries its
# icon group, version block and manifest.
#   check-release.sh [path to kelvane.exe]
set -uo pipefail
exe=${1:-build/release/bin/kelvane.exe}
failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}" >/dev/null 2>&1; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}

headers=$(i686-w64-mingw32-objdump -p "$exe")
imports=$(awk '/DLL Name:/ { dll = tolower($3) } dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3 }' <<<"$headers")
resources=$(i686-w64-mingw32-windres -i "$exe" -O rc | tr -d '\n' | sed 's/""/"/g; s/"  *"//g')

check "PE32 for i386" grep -q 'PE32 executable (GUI) Intel 80386' <(file "$exe")
check "GUI subsystem" grep -q 'Subsystem.*(Windows GUI)' <<<"$headers"

only_system_dlls() {
  ! cut -d' ' -f1 <<<"$imports" | grep -qvE '^(kernel32|user32|gdi32|advapi32|shell32|ole32|msvcrt)\.dll$'
}
ansi_not_wide() { grep -q " $1\$" <<<"$imports" && ! grep -q " ${1%A}W\$" <<<"$imports"; }
no_execution_level() { ! grep -q requestedExecutionLevel <<<"$resources"; }

check "imports from system DLLs only" only_system_dlls

ansi_functions=(
  AppendMenuA CreateEventA CreateWindowExA DefWindowProcA DispatchMessageA
  EnumDisplaySettingsA FindResourceA FindWindowA FindWindowExA GetClassNameA GetMessageA
  GetModuleFileNameA LCMapStringA LoadCursorA LoadImageA MessageBoxA OpenEventA
  PostMessageA Process32First Process32Next RegCreateKeyA RegisterClassA RegOpenKeyExA
  RegQueryValueExA RegSetValueExA SendMessageA SendMessageTimeoutA SetCurrentDirectoryA
  SetWindowLongA Shell_NotifyIconA ShellExecuteA
)
for f in "${ansi_functions[@]}"; do
  check "imports $f and not ${f%A}W" ansi_not_wide "$f"
done

check 'icon group "DEFAULT_ICON"' grep -q '"DEFAULT_ICON" 14 /\* RT_GROUP_ICON \*/BEGIN   0, 1, 5,' <<<"$resources"
check "version 1.0.0.0" grep -q 'FILEVERSION 1, 0, 0, 0 PRODUCTVERSION 1, 0, 0, 0' <<<"$resources"
check "VOS__WINDOWS32, VFT_APP" grep -q 'FILEOS 0x4 FILETYPE 0x1' <<<"$resources"
check 'string table "080404B0"' grep -q 'BLOCK "080404B0"' <<<"$resources"
check 'ProductName "Kelvane"' grep -q 'VALUE "ProductName", "Kelvane"' <<<"$resources"
check 'FileDescription "Kelvane后台服务"' grep -qF 'VALUE "FileDescription", L"Kelvane\x540e\x53f0\x670d\x52a1"' <<<"$resources"
check "translation 0x0804/0x04B0" grep -q 'VALUE "Translation", 0x804, 1200' <<<"$resources"
check "Common Controls 6.0 for x86" grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="x86" publicKeyToken="6595b64144ccf1df" language="\*"' <<<"$resources"
check "no requested execution level" no_execution_level

echo "$(stat -c %s "$exe") bytes"
[ "$failures" -eq 0 ] || { echo "$failures release check(s) failed"; exit 1; }
