# Sourced by the shell tests that paste into another program: its text box
# (tests/app/text_box_win.cpp) started with the X focus, and the box's text.
# Needs $wine, $textbox and fail().
text_box_pid= text_box_window=
start_text_box() {
  local out
  out=$(mktemp)
  "$wine" "$textbox" >"$out" 2>/dev/null &
  text_box_pid=$!
  wait_line "$out" '^ready' 20 "$text_box_pid" || fail "the text box program did not start"
  rm -f "$out"
  text_box_window=$(x_window 'text box' 10) || fail "the text box is not on the display"
  focus_text_box
}
focus_text_box() {
  xdotool windowfocus "$text_box_window" 2>/dev/null
  poll 5 x_focused "$text_box_window" || fail "the text box program did not get the X focus"
}
stop_text_box() {
  [ -n "$text_box_pid" ] && kill "$text_box_pid" 2>/dev/null
  text_box_pid=
}
box() { "$wine" "$textbox" --text 2>/dev/null | tr -d '\r'; }
box_is() { [ "$(box)" = "$1" ]; }
