# Brings up the private Wine world of one build tree: its own prefix, X display and wineserver.
# Sourced by wine-run and by the run and test commands; never touches the user's own prefix.
# Callers hold their locks on fds 8 and 9: every program started here is given 8>&- 9>&- so that
# none keeps a lock after its caller has ended.

# keyloom_wine_env HOME: the environment every Wine process of ours runs with.
keyloom_wine_env() {
  export WINEPREFIX="$1/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Wine takes its ANSI code page from the locale: 1251, as on the installers' PCs
  # (scripts/install-deps.sh generates it).
  export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
}

# keyloom_lane_world BUILD_DIR LANE: the Wine world of a lane of tests/wine-lanes.json: lane 0 is
# BUILD_DIR/wine, lane N is BUILD_DIR/wine-laneN, each with its own prefix, display, wineserver and
# simulated reader.
keyloom_lane_world() {
  if [ "$2" = 0 ]; then echo "$1/wine"; else echo "$1/wine-lane$2"; fi
}

# keyloom_lane_home BUILD_DIR: the Wine world of the lane CTest gave this test (the "wine" resource,
# in CTEST_RESOURCE_GROUP_0_WINE); lane 0 when it gave none.
keyloom_lane_home() {
  local lane=0
  if [[ "${CTEST_RESOURCE_GROUP_0_WINE:-}" =~ ^id:([0-9]+), ]]; then lane=${BASH_REMATCH[1]}; fi
  keyloom_lane_world "$1" "$lane"
}

# keyloom_is_ours PID WORD...: true when process PID runs with every WORD as one of its arguments,
# or as the file name of one (e.g. "Xvfb" for /usr/bin/Xvfb). A pid file can outlive its process
# and the number be given to another; only a process that is ours is ever signalled.
keyloom_is_ours() {
  local pid=$1 word arg found args=()
  shift
  [[ "$pid" =~ ^[0-9]+$ ]] || return 1
  mapfile -d '' -t args 2>/dev/null <"/proc/$pid/cmdline" || return 1
  for word in "$@"; do
    found=0
    for arg in "${args[@]}"; do
      if [ "$arg" = "$word" ] || [ "${arg##*/}" = "$word" ]; then found=1; break; fi
    done
    [ "$found" = 1 ] || return 1
  done
}

# keyloom_kill_ours FILE WORD...: ends the process whose pid is the last word of the first line of
# FILE when it is ours (see keyloom_is_ours), and removes FILE.
keyloom_kill_ours() {
  local file=$1 pid
  shift
  [ -f "$file" ] || return 0
  pid=$(awk 'NR == 1 { print $NF }' "$file")
  if keyloom_is_ours "$pid" "$@"; then kill "$pid" 2>/dev/null || true; fi
  rm -f "$file"
}

# keyloom_user_dir: prints the folder of this user's own that holds the locks every tree shares,
# made with mode 700 when missing. A folder of that name that is a link, is someone else's or lets
# others in is refused, so that nobody else can plant a link there or hold our locks.
keyloom_user_dir() {
  local uid dir
  uid=$(id -u)
  dir="${XDG_RUNTIME_DIR:-/tmp}/keyloom-$uid"
  mkdir -m 700 "$dir" 2>/dev/null || true
  if [ -L "$dir" ] || [ ! -d "$dir" ] || [ "$(stat -c %u "$dir")" != "$uid" ] ||
    [ $((8#$(stat -c %a "$dir") & 8#077)) != 0 ]; then
    echo "$dir is not a folder of this user's own that only this user may enter; remove it or set XDG_RUNTIME_DIR" >&2
    return 1
  fi
  echo "$dir"
}

# keyloom_display_ours N AUTH: true when the X server on display N takes the cookie of the authority
# file AUTH, that is when it is the server started with that file.
keyloom_display_ours() {
  [ -e "/tmp/.X11-unix/X$1" ] && XAUTHORITY=$2 xdpyinfo -display ":$1" >/dev/null 2>&1 </dev/null 6>&- 8>&- 9>&-
}

# keyloom_private_display HOME: starts (or reuses) the Xvfb display of this tree and exports DISPLAY
# and XAUTHORITY. Only this user may use the display: it takes only the clients that present the
# secret cookie of HOME/xvfb.auth, a file only this user may read, and every X client we start (Wine,
# xdotool, import) finds it through XAUTHORITY.
# Display numbers are chosen under one lock for every tree of this user, so two lanes starting
# together never take the same number. What ran on an earlier display of HOME (its Wine programs and
# its X input server) is ended when a new display starts, so that nothing acts on the old one.
keyloom_private_display() {
  local home=$1 auth="$1/xvfb.auth" n pid lock
  if [ -f "$home/xvfb.display" ]; then
    read -r n pid <"$home/xvfb.display"
    if keyloom_is_ours "$pid" Xvfb ":$n" "$auth" && keyloom_display_ours "$n" "$auth"; then
      export DISPLAY=":$n" XAUTHORITY=$auth
      return 0
    fi
    keyloom_kill_ours "$home/xvfb.display" Xvfb ":$n"
  fi
  WINEPREFIX="$home/wineprefix" wineserver -k >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
  keyloom_kill_ours "$home/xinput.port" xinput-server.py "$home/xinput.port"
  lock="$(keyloom_user_dir)/displays.lock" || return 1
  [ ! -L "$lock" ] || { echo "$lock is a link; remove it" >&2; return 1; }
  exec 6>>"$lock"
  flock 6
  for n in $(seq 90 189); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # A new cookie for each display, given to xauth on its input rather than its command line,
    # which every user may read.
    rm -f "$auth"
    if ! (umask 077 && : >"$auth" && echo "add :$n . $(mcookie)" | xauth -q -f "$auth" source - 6>&- 8>&- 9>&-); then
      exec 6>&-
      echo "writing the X authority file $auth failed" >&2
      return 1
    fi
    setsid Xvfb ":$n" -auth "$auth" -screen 0 1280x1024x24 -nolisten tcp >"$home/xvfb.log" 2>&1 </dev/null 6>&- 8>&- 9>&- &
    pid=$!
    # Written at once, so that a caller interrupted while Xvfb starts still ends it.
    echo "$n $pid" >"$home/xvfb.display"
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      # Only our own server takes our cookie: a server of another tree that took the number first
      # is never mistaken for ours.
      if keyloom_display_ours "$n" "$auth"; then
        exec 6>&-
        export DISPLAY=":$n" XAUTHORITY=$auth
        return 0
      fi
      sleep 0.1
    done
    # Xvfb leaves at once when the number is taken without a lock file here (a server in another
    # root on this machine): the next number is tried.
    if kill -0 "$pid" 2>/dev/null; then keyloom_kill_ours "$home/xvfb.display" Xvfb ":$n"; break; fi
    rm -f "$home/xvfb.display"
  done
  exec 6>&-
  echo "Xvfb did not start:" >&2
  tail -n 5 "$home/xvfb.log" >&2 2>/dev/null
  return 1
}

# keyloom_prefix_settings DESKTOP: the prefix settings our programs rely on.
# DESKTOP=1 runs everything on Wine's own 1280x1024 virtual desktop (needed without a window manager).
keyloom_prefix_settings() {
  local reg="$WINEPREFIX/keyloom-settings.reg"
  {
    echo 'REGEDIT4'
    echo '[HKEY_CURRENT_USER\Software\Wine\WineDbg]'
    echo '"ShowCrashDialog"=dword:00000000'
    if [ "$1" = 1 ]; then
      echo '[HKEY_CURRENT_USER\Software\Wine\Explorer]'
      echo '"Desktop"="Default"'
      echo '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]'
      echo '"Default"="1280x1024"'
    else
      echo '[-HKEY_CURRENT_USER\Software\Wine\Explorer]'
    fi
  } >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1 8>&- 9>&- || return 1
  # Wine draws the caption buttons and other window parts with the Marlett font, which it finds
  # only among the prefix's fonts: without it a title bar shows the letters "0 1 r" instead.
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}

# keyloom_wine_up HOME DESKTOP: prefix created once, wineserver kept running between programs.
# Says what failed and returns non-zero when a step fails.
# Without DISPLAY the tree's private Xvfb display is used.
keyloom_wine_up() {
  local home=$1 desktop=${2:-1}
  mkdir -p "$home"
  keyloom_wine_env "$home"
  # fd 9 holds the lock of this tree's Wine world while it is set up.
  exec 9>"$home/wine.lock"
  flock 9
  if [ -z "${DISPLAY:-}" ]; then keyloom_private_display "$home" || { exec 9>&-; return 1; }; fi
  keyloom_wineserver_up "$home" || { exec 9>&-; return 1; }
  if [ "$(cat "$WINEPREFIX/keyloom-ready" 2>/dev/null)" != "$desktop" ]; then
    if [ ! -d "$WINEPREFIX/drive_c" ] && ! wineboot -i >"$home/wineboot.log" 2>&1 </dev/null 8>&- 9>&-; then
      echo "creating the Wine prefix $WINEPREFIX failed (see $home/wineboot.log)" >&2
      exec 9>&-; return 1
    fi
    if ! keyloom_prefix_settings "$desktop"; then
      echo "writing the settings of the Wine prefix $WINEPREFIX failed" >&2
      exec 9>&-; return 1
    fi
    echo "$desktop" >"$WINEPREFIX/keyloom-ready"
    # The desktop the prefix's creation started knows none of these settings: the server ends it,
    # so that the next program gets the desktop the settings ask for.
    wineserver -k >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
    wineserver -w >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
    keyloom_wineserver_up "$home" || { exec 9>&-; return 1; }
  fi
  exec 9>&-
}

# keyloom_wineserver_up HOME: the prefix's persistent wineserver, started before any Wine program
# so that all of them, the prefix's creation too, run in it: it keeps the volatile registry keys
# and makes each start fast. A server that already runs for the prefix is the one kept.
keyloom_wineserver_up() {
  local home=$1 status=0
  mkdir -p "$WINEPREFIX"
  wineserver -p600 >"$home/wineserver.log" 2>&1 </dev/null 8>&- 9>&- || status=$?
  # Status 2 is the wineserver's own answer for "another server holds this prefix's lock".
  if [ "$status" = 0 ] || [ "$status" = 2 ]; then return 0; fi
  echo "the wineserver of $WINEPREFIX did not start (status $status, see $home/wineserver.log)" >&2
  return 1
}

# keyloom_simreader_up HOME PROGRAM [IDLE]: the tree's simulated reader, started once and kept running
# (it leaves by itself after IDLE seconds without control traffic, 600 by default, and is started
# anew when PROGRAM was built after it). Exports
# KEYLOOM_SIMREADER_PORT, its control port, and KEYLOOM_SIMREADER_COOKIE, the secret of its port
# file (readable by this user only) that a client must send as its first line. It runs in HOME, so
# that control lines, which it splits at blanks, can name HOME's files by a path relative to HOME
# wherever the tree lies.
keyloom_simreader_up() {
  local home=$1 program=$2 idle=${3:-600} file="$1/simreader.port" pid port cookie
  # One started before its program was built again is replaced, so that a test never meets the old one.
  if [ -f "$home/simreader.pid" ] && [ ! "$program" -nt "$home/simreader.pid" ] &&
     read -r port cookie 2>/dev/null <"$file" && [ -n "$cookie" ]; then
    read -r pid <"$home/simreader.pid"
    if keyloom_is_ours "$pid" simreader "$file"; then
      export KEYLOOM_SIMREADER_PORT=$port KEYLOOM_SIMREADER_COOKIE=$cookie
      return 0
    fi
  fi
  keyloom_kill_ours "$home/simreader.pid" simreader "$file"
  rm -f "$file"
  (cd "$home" && exec setsid "$program" --dosdevices "$WINEPREFIX/dosdevices" --port-file "$file" \
    --log "$home/simreader-frames.log" --idle-exit "$idle") >>"$home/simreader.log" 2>&1 </dev/null 8>&- 9>&- &
  echo $! >"$home/simreader.pid"
  for _ in $(seq 50); do [ -f "$file" ] && break; sleep 0.1; done
  if ! read -r port cookie 2>/dev/null <"$file" || [ -z "$cookie" ]; then
    echo "the simulated reader did not start (see $home/simreader.log)" >&2
    return 1
  fi
  export KEYLOOM_SIMREADER_PORT=$port KEYLOOM_SIMREADER_COOKIE=$cookie
}

# keyloom_simreader_say LINE: sends one control line to the simulated reader of
# KEYLOOM_SIMREADER_PORT, after its cookie, and prints the answer; fails when none comes.
keyloom_simreader_say() (
  exec 3<>"/dev/tcp/127.0.0.1/$KEYLOOM_SIMREADER_PORT" || exit 1
  printf '%s\n%s\n' "$KEYLOOM_SIMREADER_COOKIE" "$1" >&3
  read -r answer <&3 && echo "$answer"
)

# keyloom_xinput_up HOME: starts (or reuses) the X input server of this tree on $DISPLAY and
# exports KEYLOOM_XINPUT=127.0.0.1:PORT, where programs inside Wine reach it, and
# KEYLOOM_XINPUT_COOKIE, the secret of its port file that a client must send first (tools/xinput).
keyloom_xinput_up() {
  local home=$1 file="$1/xinput.port" port cookie pid
  (
    flock 8
    # A server that still runs and answers is reused.
    if read -r port cookie pid 2>/dev/null <"$file" && [ -n "$pid" ] &&
      keyloom_is_ours "$pid" xinput-server.py "$file" && (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      exit 0
    fi
    keyloom_kill_ours "$file" xinput-server.py "$file"
    setsid python3 "$(dirname "${BASH_SOURCE[0]}")/../xinput/xinput-server.py" "$file" 600 \
      >"$home/xinput.log" 2>&1 </dev/null 8>&- 9>&- &
    for _ in $(seq 50); do [ -f "$file" ] && exit 0; sleep 0.1; done
    echo "the X input server did not start (see $home/xinput.log)" >&2
    exit 1
  ) 8>"$home/xinput.lock" || return 1
  read -r port cookie _ <"$file"
  export KEYLOOM_XINPUT="127.0.0.1:$port" KEYLOOM_XINPUT_COOKIE=$cookie
}

# keyloom_wine_down HOME: ends every Wine process of this tree, its simulated reader, its X input
# server and its private X display.
keyloom_wine_down() {
  local home=$1 n
  keyloom_kill_ours "$home/simreader.pid" simreader "$home/simreader.port"
  WINEPREFIX="$home/wineprefix" wineserver -k >/dev/null 2>&1 || true
  keyloom_kill_ours "$home/xinput.port" xinput-server.py "$home/xinput.port"
  if [ -f "$home/xvfb.display" ]; then
    read -r n _ <"$home/xvfb.display"
    keyloom_kill_ours "$home/xvfb.display" Xvfb ":$n"
  fi
  rm -f "$home/xvfb.auth"
}
