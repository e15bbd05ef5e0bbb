# Shared by scripts/run and scripts/test: installing what the build and Wine need, the build
# itself, and the private Wine prefix, X display and sound server. Sourced, not run.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$repo_root/build"
export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export WINEDEBUG="${WINEDEBUG:--all}"

say() { printf '%s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that are missing; quick when everything is there.
install_packages() {
  local packages=(wine wine32:i386 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
                  g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32
                  binutils-mingw-w64-i686 cmake ninja-build python3 xvfb xdotool x11-apps x11-utils
                  imagemagick pulseaudio pulseaudio-utils clang-format zip)
  local missing=()
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures (first time only) and builds into build/: the targets given, or everything.
build_all() {
  if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -G Ninja -S "$repo_root" -B "$build_dir" \
      -DCMAKE_TOOLCHAIN_FILE="$repo_root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >&2
  fi
  cmake --build "$build_dir" ${1:+--target "$@"} >&2
}

# Fails when a C++ file of the repository is not formatted as .clang-format says.
check_format() {
  local files
  mapfile -t files < <(git -C "$repo_root" ls-files '*.cpp' '*.h')
  [ ${#files[@]} -eq 0 ] && return 0
  (cd "$repo_root" && clang-format --dry-run --Werror "${files[@]}")
}

started_pids=()

stop_started() {
  local pid
  for pid in "${started_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${started_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
}

# Uses the user's X display when there is one; starts a private Xvfb otherwise.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    started_display=""
    return 0
  fi
  # Xvfb picks a free display number itself and writes it to the pipe once it accepts clients,
  # so that several suites may start displays at the same time without taking the same one.
  local fifo="$build_dir/xvfb.fifo" n=""
  mkdir -p "$build_dir"
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  started_pids+=($!)
  read -r -t 10 n <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$n" ]; then
    say "Xvfb did not start"
    return 1
  fi
  export DISPLAY=":$n"
  started_display="$DISPLAY"
  say "Started Xvfb on $DISPLAY"
}

# Uses the user's sound server when there is one; starts a private PulseAudio with one null
# sink otherwise, so that Wine's mixer has a card to drive.
ensure_sound() {
  if pactl info >/dev/null 2>&1; then
    return 0
  fi
  export PULSE_RUNTIME_PATH="$build_dir/pulse"
  export XDG_RUNTIME_DIR="$build_dir/pulse"
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  mkdir -p "$PULSE_RUNTIME_PATH"
  chmod 700 "$PULSE_RUNTIME_PATH"
  pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
    -L "module-native-protocol-unix socket=$PULSE_RUNTIME_PATH/native auth-anonymous=1" \
    -L "module-null-sink sink_name=sonobar_null" \
    -L "module-null-source source_name=sonobar_mic" >"$build_dir/pulse.log" 2>&1 &
  started_pids+=($!)
  local i
  for i in $(seq 1 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  if pactl info >/dev/null 2>&1; then
    say "Started a private PulseAudio with a null sink"
  else
    say "Could not start PulseAudio (see build/pulse.log); Wine will report no sound card"
  fi
}

# Creates the private Wine prefix once and keeps wineserver running for this script, so that
# Wine's helpers do not hold on to a caller's pipes. A script that another one runs (the suite's
# run of scripts/bench) shares the caller's Wine session and leaves its end to the caller.
ensure_wine() {
  [ -z "${SONOBAR_WINE_SESSION:-}" ] || return 0
  mkdir -p "$build_dir"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "Creating the Wine prefix in $WINEPREFIX"
    wine wineboot -i >"$build_dir/wineboot.log" 2>&1 || true
  fi
  unmanage_windows
  wineserver -p >/dev/null 2>&1 &
  started_pids+=($!)
  wine wineboot >/dev/null 2>&1 || true
  export SONOBAR_WINE_SESSION=$$
  owns_wine=1
}

# With no window manager on the display, Wine's X11 driver waits up to 2 s on every hide or
# destruction of a managed window for a withdrawal that never comes, and drops input meanwhile.
# Unmanaged windows are placed, focused and stacked by Wine itself, so focus, the keyboard,
# always on top, the tray and real clicks behave as they do on Windows. A window manager of the
# user's own display is left to manage as usual.
unmanage_windows() {
  [ -n "${started_display:-}" ] || return 0
  grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  # Wine's desktop process, which also holds the tray, took the setting when it started: the
  # session ends here, so that every program of the prefix starts with it.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

stop_wine() {
  [ -z "${owns_wine:-}" ] || wineserver -k >/dev/null 2>&1 || true
}
