# Wine prefix, virtual display and wine server for one build folder.
# Source it with VELK_BUILD_DIR set; then call velk_wine_ready.
# Never touches the user's own prefix or display.

: "${VELK_BUILD_DIR:?VELK_BUILD_DIR must name the build folder}"
# A prefix per role in each build folder: "test" and "test2" for the two Win32
# test programs, "e2e" and "e2e2" for the two end-to-end ones (each with
# scratch drives R:, S:, T:, so they run side by side), "demo" for
# scripts/demo (the demo data disc in D:).
export VELK_WINE_ROLE="${VELK_WINE_ROLE:-test}"
export WINEPREFIX="$VELK_BUILD_DIR/wineprefix-$VELK_WINE_ROLE"
# win32: the 32-bit build in a 32-bit prefix. win64: the 64-bit build, for
# machines whose kernel runs no 32-bit code (Wine's 32-bit loader cannot start there).
export VELK_WINE_ARCH="${VELK_WINE_ARCH:-win32}"
export WINEARCH="$VELK_WINE_ARCH"
if [ "$VELK_WINE_ARCH" = win64 ]; then
  # /usr/bin/wine prefers the 32-bit loader when both are installed.
  export VELK_WINE=/usr/lib/wine/wine64
  export WINELOADER="$VELK_WINE"
else
  export VELK_WINE=wine
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A display of our own for each build folder and role: the one recorded in
# the build folder when it was started for it, else a number derived from the path.
velk_display_record="$VELK_BUILD_DIR/.wine-$VELK_WINE_ROLE.display"
velk_use_display() { export VELK_DISPLAY_NUM=$1 DISPLAY=":$1"; }
if [ -z "${VELK_DISPLAY_NUM:-}" ]; then
  VELK_DISPLAY_NUM=$(cut -d' ' -f1 "$velk_display_record" 2>/dev/null || true)
  [ -n "$VELK_DISPLAY_NUM" ] ||
    VELK_DISPLAY_NUM=$(( $(printf '%s' "$VELK_BUILD_DIR/$VELK_WINE_ROLE" | cksum | cut -d' ' -f1) % 30000 + 1000 ))
fi
velk_use_display "$VELK_DISPLAY_NUM"
# Folders a test prefix maps as drives: two CD-ROM drives and one hard disk
# ("drives" for the role "test", "drives-<role>" for the others).
if [ "$VELK_WINE_ROLE" = test ]; then
  export VELK_DRIVES="$VELK_BUILD_DIR/drives"
else
  export VELK_DRIVES="$VELK_BUILD_DIR/drives-$VELK_WINE_ROLE"
fi

# Starts the build's virtual display unless it runs already, and exports its
# number. A display that runs for another program (another build folder whose
# number is the same, say) is passed by for the next free number: two prefixes
# on one display would take each other's windows, input and clipboard. A caller
# that stops what it started (velk_wine_down) finds the display's process id
# in VELK_XVFB_STARTED; call it outside a subshell for that.
velk_xvfb_up() {
  local n pid
  mkdir -p "$VELK_BUILD_DIR"
  for ((n = VELK_DISPLAY_NUM; n < VELK_DISPLAY_NUM + 50; n++)); do
    pid=$({ tr -d ' ' < "/tmp/.X$n-lock"; } 2>/dev/null || true)
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      [ "$(cat "$velk_display_record" 2>/dev/null)" = "$n $pid" ] || continue
      velk_use_display "$n"
      return 0
    fi
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null 9>&- &
    for _ in $(seq 200); do
      if [ -S "/tmp/.X11-unix/X$n" ]; then
        VELK_XVFB_STARTED=$(tr -d ' ' < "/tmp/.X$n-lock" 2>/dev/null || true)
        echo "$n $VELK_XVFB_STARTED" > "$velk_display_record"
        velk_use_display "$n"
        return 0
      fi
      sleep 0.05
    done
    echo "wine-env: Xvfb :$n did not start" >&2
    return 1
  done
  echo "wine-env: displays :$VELK_DISPLAY_NUM to :$n all run for other programs" >&2
  return 1
}

# A registry value of the prefix. Right after wineboot, under load, a write
# can fail while the prefix settles: it is tried again before giving up.
velk_reg_add() {
  local try
  for try in 1 2 3; do
    "$VELK_WINE" reg add "$@" /f >/dev/null 2>&1 </dev/null 9>&- && return 0
    sleep 2
  done
  echo "wine-env: reg add $* failed" >&2
  return 1
}

# Map a folder as a drive letter of the prefix; type is cdrom or hd.
# The type takes effect when the wine server next starts.
velk_link_drive() {
  mkdir -p "$2"
  ln -sfn "$2" "$WINEPREFIX/dosdevices/$1:"
}
velk_drive_type() {
  velk_reg_add 'HKLM\Software\Wine\Drives' /v "$1:" /t REG_SZ /d "$2"
}

velk_boot_prefix() {
  "$VELK_WINE" wineboot -i >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
  wineserver -w || true
}

# Every test prefix of a build folder starts as a copy of one booted prefix
# set up as they all are: R: and S: CD-ROM drives, T: a second hard disk,
# quiet crashes, no sound driver. Booting costs seconds of CPU and writes
# some 700 MB, and several test prefixes come up at once; the copy links
# system32 (Wine never writes to its installed system files) and copies the
# rest (the registry, the user's folders).
velk_base_prefix() {
  (
    flock 8
    export WINEPREFIX="$VELK_BUILD_DIR/wineprefix-base"
    [ -f "$WINEPREFIX/.velk-base-ready" ] && exit 0
    rm -rf "$WINEPREFIX"
    velk_boot_prefix
    { velk_drive_type r cdrom && velk_drive_type s cdrom && velk_drive_type t hd &&
      velk_quiet_crashes && velk_no_sound; } 8>&- || exit 1
    # The registry reaches its files when the server ends.
    wineserver -k || true
    wineserver -w || true
    touch "$WINEPREFIX/.velk-base-ready"
  ) 8>"$VELK_BUILD_DIR/.wine-base.lock"
}
velk_copy_base_prefix() {
  local base="$VELK_BUILD_DIR/wineprefix-base" copy="$WINEPREFIX.copy"
  rm -rf "$copy" "$WINEPREFIX"
  mkdir -p "$copy"
  tar -C "$base" --exclude=./drive_c/windows/system32 --exclude=./.velk-base-ready -cf - . | tar -C "$copy" -xf - &&
    cp -al "$base/drive_c/windows/system32" "$copy/drive_c/windows/" &&
    mv "$copy" "$WINEPREFIX"
}

velk_prefix_create() {
  if [ "$VELK_WINE_ROLE" = demo ]; then
    velk_boot_prefix
    # The demo data disc, as the player's CD-ROM drive.
    velk_link_drive d "$VELK_BUILD_DIR/disc"
    velk_drive_type d cdrom
  else
    velk_base_prefix && velk_copy_base_prefix || return 1
    velk_link_drive r "$VELK_DRIVES/r"
    velk_link_drive s "$VELK_DRIVES/s"
    velk_link_drive t "$VELK_DRIVES/t"
  fi
  wineserver -k || true
  wineserver -w || true
  touch "$WINEPREFIX/.velk-ready"
}

# A crashing test program ends at once, with a crash line on stderr, instead
# of waiting behind Wine's crash dialog until its test times out. Also for a
# prefix made before this setting existed.
velk_quiet_crashes() {
  [ "$VELK_WINE_ROLE" != demo ] || return 0
  [ -f "$WINEPREFIX/.velk-quiet-crashes" ] && return 0
  velk_reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 \
    && touch "$WINEPREFIX/.velk-quiet-crashes"
}

# A test prefix has no sound driver: the machines have no sound device, and
# Wine's PulseAudio driver, connecting in vain while the start sound plays,
# could abort a program that ends at that moment (a failed assertion inside
# the sound library). The launcher takes a sound that does not play as silence.
velk_no_sound() {
  [ "$VELK_WINE_ROLE" != demo ] || return 0
  [ -f "$WINEPREFIX/.velk-no-sound" ] && return 0
  velk_reg_add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d "" \
    && touch "$WINEPREFIX/.velk-no-sound"
}

# Wine's X11 driver waits up to 2 s for a window manager each time a managed
# window is hidden or destroyed; the build's own virtual display has none, so
# there the windows are unmanaged and close at once (Wine draws their frames
# as before). On the player's own display (VELK_WINE_MANAGED=Y) they stay managed.
velk_window_management() {
  local managed=$1 mark="$WINEPREFIX/.velk-managed"
  [ "$(cat "$mark" 2>/dev/null)" = "$managed" ] && return 0
  velk_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" \
    && echo "$managed" > "$mark"
}

# The prefix's desktop, its background services and a program that holds the
# desktop, all detached from the caller's pipes. Without a holder, Wine ends
# the desktop process a second after each window program ends, and the next
# program starts it anew with the caller's output pipe, so ctest waited a
# further second for every test that made a window. wineserver -k ends both.
velk_desktop_up() {
  local holder="$VELK_BUILD_DIR/.wine-$VELK_WINE_ROLE.desktop"
  [ -p "$holder" ] || { rm -f "$holder"; mkfifo "$holder"; }
  # An interactive cmd.exe reading a pipe that no one writes waits for ever.
  setsid "$VELK_WINE" cmd.exe <>"$holder" >/dev/null 2>&1 9>&- &
  "$VELK_WINE" rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null 9>&- || true
}

velk_wine_ready() {
  mkdir -p "$VELK_BUILD_DIR"
  velk_xvfb_up || return 1
  (
    flock 9
    [ -f "$WINEPREFIX/.velk-ready" ] || velk_prefix_create || exit 1
    # Keep the server alive between programs (tens of ms a start instead of seconds). It answers 0 only when it had to
    # start; then the prefix's background services are started here, detached
    # from the caller's pipes and lock (ctest waits for every holder of its pipe).
    if wineserver -p >/dev/null 2>&1 </dev/null 9>&-; then
      velk_desktop_up
    fi
    velk_quiet_crashes || true
    velk_no_sound || true
    velk_window_management "${VELK_WINE_MANAGED:-N}" || true
  ) 9>"$VELK_BUILD_DIR/.wine-$VELK_WINE_ROLE.lock" || { echo "wine-env: the Wine prefix $WINEPREFIX is not ready" >&2; return 1; }
}

# Ends the prefix's programs and server, and the virtual display if this
# shell started it (by its recorded process id; never one it found running).
velk_wine_down() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${VELK_XVFB_STARTED:-}" ]; then
    kill "$VELK_XVFB_STARTED" 2>/dev/null || true
    VELK_XVFB_STARTED=
  fi
}
