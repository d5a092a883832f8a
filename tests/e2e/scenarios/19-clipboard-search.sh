# The search of copied text (Watch.Browser=1): a copy made while Shift and Ctrl are held opens
# the search request, the text escaped, with the system's handler of https; a plain copy opens
# nothing. The handler here is the recorder, registered for https in this prefix.

needs_virtual_desktop

browser='C:\e2e\browser\browser.exe'
log=$(recorder_install "$browser")
handler='HKCR\https\shell\open\command'
set_handler() { wine_run reg add "$handler" /ve /d "$1" /f </dev/null >/dev/null 2>&1; }
set_handler "\"$browser\" \"%1\"" || abort "the recorder is registered as the https handler"
# Wine's own handler back for the scenarios after this one, and no key left held down.
on_exit "set_handler '\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"'"
on_exit 'xdotool keyup shift ctrl'

settings=$VARNEL_SESSION_DIR/clip.ini
printf '[Watch]\r\nBrowser=1\r\n' >"$settings"
varnel_install "$settings"
varnel_start
varnel_wait_form || abort "Varnel starts (its main form appears)"

search='https://www.google.com/search?hl=ja&source=hp&q='
# copy_with_keys TEXT: the user copies TEXT while holding Shift and Ctrl; waits for one more
# request than before; prints the last one.
copy_with_keys() {
  local before
  before=$(recorded_lines "$log")
  probe clip --text "$1" || return 1
  wait_for "(( \$(recorded_lines $log) > $before ))" 15 || return 1
  tail -n 1 "$log" | cut -f2-
}

xdotool keydown shift ctrl
check_eq "Shift+Ctrl and copy 'AT&T C# 100%': the escaped search request, to the https handler" \
  "${search}AT%26T%20C%23%20100%25" "$(copy_with_keys 'AT&T C# 100%')"
probe_list
shot=$(screenshot clip-search) &&
  check "nothing of Varnel's on screen after the search request (no message)" screen_blank_except_others "$shot"
check_eq "... and Japanese text goes as its UTF-8 bytes" \
  "${search}%E6%97%A5%E6%9C%AC%E8%AA%9E%20%E3%83%86%E3%82%B9%E3%83%88" "$(copy_with_keys '日本語 テスト')"
xdotool keyup shift ctrl

lines=$(recorded_lines "$log")
probe clip --text 'a plain copy' || fail "the plain copy is made"
check "a plain copy (keys up) opens nothing" holds_for 2 "(( \$(recorded_lines $log) == $lines ))"

varnel_close_and_wait || fail "varnel.exe exits after WM_CLOSE"
