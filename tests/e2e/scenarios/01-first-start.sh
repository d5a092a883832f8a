# First start without a settings file: nothing of Varnel shows on screen, and a close request
# (WM_CLOSE, as Windows and other programs send it) ends it and writes the defaults.

varnel_install
varnel_start
varnel_wait_form || abort "the main form TForm1 of varnel.exe appears"
# The form exists before it is shrunk away and shown; wait until start-up has settled.
wait_for 'window_appears TForm1 varnel.exe && [[ $(window_field "$(window_find TForm1 varnel.exe | head -n1)" visible) == 1 ]]' ||
  fail "the main form becomes visible (shrunk off screen)"
# The form's first activation starts the managed Explorer, which shows at its own place for a
# moment before it is parked: start-up has settled once it is parked.
wait_for 'explorer_new_appears' 60 && wait_for "window_is_parked $E2E_NEW_EXPLORER" 20 ||
  e2e_note "no parked Explorer after start-up"
probe_list
cp "$E2E_WINDOWS" "$E2E_ARTIFACTS/first-start-windows.tsv"
form=$(window_find TForm1 varnel.exe | head -n 1)
app=$(window_find TApplication varnel.exe | head -n 1)

W=$VARNEL_SCREEN_W
H=$VARNEL_SCREEN_H
check_eq "one main form" 1 "$(window_find TForm1 varnel.exe | wc -l)"
check_eq "main form at (-screen width, -screen height), 1 x 1" \
  "$((-W)) $((-H)) $((-W + 1)) $((-H + 1))" \
  "$(window_field "$form" left) $(window_field "$form" top) $(window_field "$form" right) $(window_field "$form" bottom)"
check_eq "main form stays visible (in the framework's sense)" 1 "$(window_field "$form" visible)"
check "the application window TApplication exists" test -n "$app"
check_eq "application window titled Varnel" Varnel "$(window_field "$app" caption)"
check_eq "application window has no size: nothing of it shows" "0 0" \
  "$(($(window_field "$app" right) - $(window_field "$app" left))) $(($(window_field "$app" bottom) - $(window_field "$app" top)))"
check "application window is a tool window (no taskbar button)" \
  test $(($(window_field "$app" exstyle) & 0x80)) -ne 0
check "main form is owned, so it gets no taskbar button" test "$(window_field "$form" owner)" != 0x0
check_eq "main form owned by the application window" "$(window_field "$app" hwnd)" "$(window_field "$form" owner)"
check "no visible window of varnel.exe on screen" \
  test -z "$(awk -F'\t' -v w="$W" -v h="$H" 'NR > 1 && tolower($6) == "varnel.exe" && $13 == 1 &&
                 $7 < w && $8 < h && $9 > 0 && $10 > 0' "$E2E_WINDOWS")"
shot=$(screenshot first-start) || fail "screenshot"
[[ -n $shot ]] && check "the screen shows nothing of Varnel (screenshot)" screen_blank_except_others "$shot"

varnel_close
check_eq "WM_CLOSE to the main form is taken" closed "$(cut -f1 "$E2E_PROBE_OUT" | head -n 1)"
varnel_wait_exit || abort "varnel.exe exits after WM_CLOSE"
check_eq "exit status" 0 "$VARNEL_EXIT_CODE"

check "varnel.ini written beside the exe" test -f "$VARNEL_INI" || exit 1
cp "$VARNEL_INI" "$E2E_ARTIFACTS/first-start-varnel.ini"
check_eq "only varnel.exe and varnel.ini in the folder (no temporary file left)" \
  "varnel.exe varnel.ini" "$(ls "$VARNEL_HOST_DIR" | sort | tr '\n' ' ' | sed 's/ $//')"
check_eq "sections in order" "Pos Exp Watch Launch Popup ini Hotkey Quiet" "$(ini_sections "$VARNEL_INI" | tr '\n' ' ' | sed 's/ $//')"

left=$(ini_get "$VARNEL_INI" Pos Left)
top=$(ini_get "$VARNEL_INI" Pos Top)
# The settings window's client area is 320 x 346 as designed; its outer size is at least that.
check "Pos.Left = work-area right - outer width ($left)" is_int_between "$left" 0 $((W - 320 + 1))
check "Pos.Top = work-area bottom - outer height ($top)" is_int_between "$top" 0 $((H - 346 + 1))

expected=$(
  cat <<'KEYS'
Pos.Speed=10
Pos.Sense=3
Pos.Offset=20
Pos.INHConner=1
Pos.INHdotX=30
Pos.INHdotY=20
Pos.HideTray=0
Exp.Left=1
Exp.Right=0
Exp.Upper=0
Exp.Lower=0
Exp.Button=0
Exp.BtnLR=0
Exp.Width=400
Exp.Height=300
Exp.FixSave=0
Exp.Fix=0
Exp.Watch=0
Exp.NoTree=0
Exp.Path=C:\varnel\
Exp.PathEn=0
Exp.PathEx=C:\varnel\
Exp.FullGuard=1
Exp.AllMonitors=0
Watch.Browser=0
Watch.Enb=0
Watch.Mode=0
Watch.SRCPath=
Watch.TrgPath=
Watch.AppPath=
KEYS
  for i in $(seq 0 31); do echo "Watch.Ext$i="; done
  cat <<'KEYS'
Launch.Path=
Launch.Left=0
Launch.Right=1
Launch.Upper=1
Launch.Lower=0
Launch.Button=0
Launch.BtnLR=0
Launch.Idle=6
Launch.Lnk=1
Launch.Auto=0
Popup.LR=0
Popup.All=0
ini.inh=0
Hotkey.Explorer=
Hotkey.Launch=
Hotkey.Pause=
Quiet.Programs=
KEYS
)
actual=$(ini_entries "$VARNEL_INI" | grep -v -E '^Pos\.(Top|Left)=')
if check_eq "every key in order with its default" "$expected" "$actual"; then :; else
  diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /' | head -n 20
fi
check_eq "Pos.Top and Pos.Left come first" "Pos.Top Pos.Left" \
  "$(ini_entries "$VARNEL_INI" | head -n 2 | cut -d= -f1 | tr '\n' ' ' | sed 's/ $//')"
