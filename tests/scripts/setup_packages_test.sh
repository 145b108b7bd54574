#!/usr/bin/env bash
# scripts/setup-packages.sh against a fake apt-get and dpkg-query: which
# packages it asks for, when it goes on and when it gives up.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
failures=0

# Fake tools: installed packages listed in $fake/installed; apt-get logs its
# calls, its update fails $UPDATE_FAILS times, its install fails for any
# package named in $fake/uninstallable.
cat > "$fake/dpkg-query" <<'T'
#!/bin/sh
grep -qx -- "$3" "$FAKE/installed" && printf 'install ok installed'
T
cat > "$fake/dpkg" <<'T'
#!/bin/sh
echo "dpkg $*" >> "$FAKE/log"
T
cat > "$fake/apt-get" <<'T'
#!/bin/bash
echo "apt-get $*" >> "$FAKE/log"
if [ "$1" = update ]; then
  n=$(cat "$FAKE/updates" 2>/dev/null || echo 0); echo $((n + 1)) > "$FAKE/updates"
  [ "$n" -ge "$UPDATE_FAILS" ]; exit
fi
for p in "$@"; do grep -qx -- "$p" "$FAKE/uninstallable" && exit 100; done
exit 0
T
chmod +x "$fake"/*

# run NAME RUNS32 UPDATE_FAILS MISSING UNINSTALLABLE EXPECTED_STATUS EXPECTED_LOG_REGEX EXPECTED_OUTPUT_REGEX
run() {
  local name=$1 runs32=$2 fails=$3 missing=$4 broken=$5 want_status=$6 want_log=$7 want_out=$8
  rm -f "$fake/log" "$fake/updates"
  printf '%s\n' $broken > "$fake/uninstallable"
  out=$(FAKE=$fake UPDATE_FAILS=$fails PATH="$fake:$PATH" VELK_APT_PAUSE=0 bash -c '
    source "$1/scripts/setup-packages.sh"
    printf "%s\n" "${velk_packages[@]}" wine32:i386 | grep -vxF -f <(printf "%s\n" $3) > "$FAKE/installed"
    fake_runs32=$2; velk_runs_32bit() { [ "$fake_runs32" = 1 ]; }
    velk_install_packages' _ "$root" "$runs32" "$missing" 2>&1)
  status=$?
  log=$(tr '\n' ';' 2>/dev/null < "$fake/log")
  if [ "$status" != "$want_status" ] || ! [[ "$log" =~ $want_log ]] || ! [[ "$out" =~ $want_out ]]; then
    echo "FAIL $name: status $status, apt calls: $log"; echo "$out" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

#   name                     32bit fails missing              uninstallable  status apt calls                                          output
run all-present              1     0     ""                   ""             0      '^$'                                               '^$'
run no-32bit-skips-wine32    0     0     "wine32:i386"        ""             0      '^$'                                               'runs no 32-bit code'
run no-32bit-no-i386-arch    0     0     "xdotool wine32:i386" ""            0      '^apt-get update -qq;apt-get install .* xdotool;$' 'Installing: xdotool$'
run 32bit-adds-i386          1     0     "wine32:i386"        ""             0      '^dpkg --add-architecture i386;apt-get update'     'Installing: wine32:i386'
run update-retried-then-ok   1     1     "xdotool"            ""             0      '^dpkg.*;apt-get update -qq;apt-get update -qq;apt-get install' '^Installing: xdotool$'
run update-fails-install-on  1     9     "xdotool"            ""             0      '(apt-get update -qq;){3}apt-get install .* xdotool;$' 'trying the install'
run wine32-broken-goes-on    1     9     "wine32:i386 xdotool" "wine32:i386" 0      'install .* xdotool wine32:i386;apt-get install .* xdotool;$' 'wine32:i386 cannot be installed here'
run needed-package-fails     1     0     "cmake xdotool"      "cmake"        1      'install .* cmake xdotool;$'                       'Could not install: cmake xdotool.*Retry with: apt-get update && apt-get install --no-install-recommends cmake xdotool'
run wine32-and-needed-fail   1     0     "wine32:i386 cmake"  "wine32:i386 cmake" 1 'apt-get install .* cmake;$'                     'Could not install: cmake[[:space:]]+Retry'

# choose NAME WINE32_STARTS SETTING TESTED DEMO: the builds whose Windows tests
# run here (VELK_WINE_BUILDS or VELK_WINE_ARCH as SETTING), and the demo's build.
choose() {
  local got
  got=$(env -u VELK_WINE_BUILDS -u VELK_WINE_ARCH ${3:+"$3"} bash -c '
    source "$1/scripts/setup-packages.sh"
    fake_wine32=$2; velk_wine32_works() { [ "$fake_wine32" = 1 ]; }
    echo "$(velk_wine_builds)/$(velk_wine_build)"' _ "$root" "$2")
  [ "$got" = "$4/$5" ] || { echo "FAIL $1: tested/demo $got, expected $4/$5"; failures=$((failures + 1)); }
}
#      name                 wine32 setting                        tested        demo
choose no-32bit-twin-only   0      ""                             "win64"       win64
choose 32bit-both-builds    1      ""                             "win32 win64" win32
choose by-hand-one-build    1      "VELK_WINE_ARCH=win64"         "win64"       win64
choose by-hand-both-builds  0      "VELK_WINE_BUILDS=win32 win64" "win32 win64" win32

# The probe says "runs" exactly where a 32-bit program built by the compiler runs
# (where it cannot, the shell's own status for "cannot execute" is no answer to compare).
if echo 'int main(void) { return 0; }' | gcc -m32 -x c - -o "$fake/real32" 2>/dev/null; then
  real=no probe=no
  "$fake/real32" 2>/dev/null && real=yes
  bash -c 'source "$1/scripts/setup-packages.sh"; velk_runs_32bit' _ "$root" && probe=yes
  [ "$probe" = "$real" ] || { echo "FAIL probe: runs 32-bit code: $probe, a real 32-bit program runs: $real"; failures=$((failures + 1)); }
fi
echo "setup-packages: $failures failed"
[ "$failures" -eq 0 ]
