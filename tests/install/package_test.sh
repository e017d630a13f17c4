#!/bin/sh
# The packages for people who do not build, unpacked as they would be: the
# Debian package holds both programs, their manual pages and what Debian asks
# for, needs the libraries they link, and lintian finds nothing in it; each
# Windows zip holds both programs and how to use them, and the programs need
# no DLL but Windows' own, the 32-bit one a console program for x86.
#   package_test.sh CPACK LINUX_BUILD [WINDOWS_BUILD...]
set -eu
cpack=$1 build=$2
shift 2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "$*"; exit 1; }

"$cpack" --config "$build/CPackConfig.cmake" -B "$out/deb" >/dev/null
deb=$(ls "$out"/deb/*.deb)
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
[ "$files" = "./usr/bin/dibdump ./usr/bin/image-border ./usr/share/doc/image-border/changelog.gz ./usr/share/doc/image-border/copyright ./usr/share/man/man1/dibdump.1.gz ./usr/share/man/man1/image-border.1.gz " ] ||
  fail "the Debian package holds: $files"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libglut3.12 libxft2 libssl3 libc6; do
  echo "$depends" | grep -q "$library" || fail "the Debian package does not depend on $library: $depends"
done
tags=$(lintian --pedantic "$deb" 2>&1 | grep -v 'running with root privileges' || true)
[ -z "$tags" ] || fail "lintian: $tags"

for windows in "$@"; do
  "$cpack" --config "$windows/CPackConfig.cmake" -B "$out/zip" >/dev/null
  zip=$(ls "$out"/zip/*.zip)
  rm -rf "$out/unpacked" && mkdir "$out/unpacked" && (cd "$out/unpacked" && unzip -q "$zip")
  files=$(ls "$out/unpacked" | tr '\n' ' ')
  [ "$files" = "README.txt dibdump.exe image-border.exe " ] || fail "$zip holds: $files"
  for program in "$out"/unpacked/*.exe; do
    dlls=$(objdump -p "$program" | sed -n 's/.*DLL Name: //p' | tr 'a-z' 'A-Z' | sort | tr '\n' ' ')
    for dll in $dlls; do
      case $dll in
        ADVAPI32.DLL|BCRYPT.DLL|GDI32.DLL|GLU32.DLL|KERNEL32.DLL|MSVCRT.DLL|OPENGL32.DLL|USER32.DLL|WINMM.DLL) ;;
        *) fail "$program needs $dll" ;;
      esac
    done
  done
  case $zip in
    *win32.zip)
      objdump -p "$out/unpacked/image-border.exe" | grep -q 'Magic.*010b' || fail "not a 32-bit program: $zip"
      objdump -p "$out/unpacked/image-border.exe" | grep -q 'Subsystem.*Windows CUI' || fail "not a console program" ;;
  esac
  rm -rf "$out/zip"
done
