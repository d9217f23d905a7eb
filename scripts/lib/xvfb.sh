# Sourced by the screenshot scripts: a private X display on Xvfb, and a compositor for it.
#   xvfb_start <width>x<height>x<depth>  starts Xvfb on a free display number, exports DISPLAY and
#                                        QT_QPA_PLATFORM=xcb, and stops it on exit (trap xvfb_stop EXIT)
#   xvfb_compositor                      starts xcompmgr: without one, translucent windows show a black
#                                        frame where their shadow should be
#   xvfb_stop                            stops both; a script with its own EXIT trap calls it from there
xvfb_pid=""
xcompmgr_pid=""

xvfb_stop() {
  [ -n "$xcompmgr_pid" ] && kill "$xcompmgr_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  xcompmgr_pid=""
  xvfb_pid=""
}

xvfb_start() {
  local fifo number
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  # Xvfb picks the display number itself and writes it to the fifo once it accepts clients.
  # A session of its own: a Ctrl-C meant for the program on the display must not take the display first.
  setsid Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fifo" &
  xvfb_pid=$!
  trap xvfb_stop EXIT
  read -r number <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  export QT_QPA_PLATFORM=xcb
}

xvfb_compositor() {
  setsid xcompmgr &
  xcompmgr_pid=$!
  sleep 1
}
