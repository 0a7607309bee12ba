# Shared by the keystroke benchmark's scripts (sourced, from the checkout's root): builds what the
# benchmark needs, writes the synthetic market of COUNT items, and starts the Windows tree's Wine
# session when none runs.
#
#   popup_prepare COUNT    sets items to the market's file
#   popup_session_start    sets popup_started when it started the session
#   popup_session_stop     stops the session if popup_session_start started it

popup_prepare() {
  cmake --preset native >/dev/null
  cmake --build build/native --target gen-market -j2 >/dev/null
  cmake --preset windows >/dev/null
  cmake --build build/windows --target popup-bench -j2 >/dev/null
  items=$(pwd)/build/windows/bench-items-$1.tsv
  build/native/tools/synth/gen-market --count "$1" --seed 1 --out "$items"
}

popup_started=0

popup_session_start() {
  if [ ! -f build/windows/wine/session.env ]; then
    bash scripts/wine-session.sh start build/windows
    popup_started=1
  fi
}

popup_session_stop() {
  if [ $popup_started -eq 1 ]; then bash scripts/wine-session.sh stop build/windows; fi
}
