# A damaged settings file (binary garbage, a 100 kB line, a 32-bit overflow) neither crashes
# Varnel nor survives where it was unreadable: the keys it could not read get their defaults,
# the keys it could read keep their values.

settings=$VARNEL_SESSION_DIR/damaged.ini
{
  printf '[Pos]\r\n'
  printf 'Speed='; head -c 100000 /dev/zero | tr '\0' '7'; printf '\r\n'
  printf 'Offset=55\r\nSense=4294967299\r\n'
  printf '[Launch]\r\nIdle=7\r\n'
  printf '[Exp]\r\nWidth='
  # Fixed "random" bytes, so that a failure can be reproduced.
  LC_ALL=C awk 'BEGIN { srand(2056); for (i = 0; i < 300; i++) { c = int(rand() * 256); if (c != 10 && c != 13) printf "%c", c } }'
  printf '\r\n'
  LC_ALL=C awk 'BEGIN { srand(42); for (i = 0; i < 8192; i++) printf "%c", int(rand() * 256) }'
} >"$settings"
cp "$settings" "$E2E_ARTIFACTS/damaged-input.ini"
varnel_install "$settings"
varnel_start
varnel_wait_form || abort "the main form TForm1 of varnel.exe appears with a damaged settings file"
varnel_close
varnel_wait_exit || abort "varnel.exe exits after WM_CLOSE"
check_eq "exit status" 0 "$VARNEL_EXIT_CODE"
check "varnel.ini still there" test -f "$VARNEL_INI" || exit 1
cp "$VARNEL_INI" "$E2E_ARTIFACTS/damaged-output.ini"
check_eq "Pos.Speed: the 100 kB value is not a number, default" 10 "$(ini_get "$VARNEL_INI" Pos Speed)"
check "the 100 kB line was replaced in place" test "$(stat -c %s "$VARNEL_INI")" -lt 60000
check_eq "Pos.Sense: 4294967299 overflows 32 bits, default" 3 "$(ini_get "$VARNEL_INI" Pos Sense)"
check_eq "Pos.Offset kept" 55 "$(ini_get "$VARNEL_INI" Pos Offset)"
check_eq "Launch.Idle kept" 7 "$(ini_get "$VARNEL_INI" Launch Idle)"
check_eq "Exp.Width: garbage, default" 400 "$(ini_get "$VARNEL_INI" Exp Width)"
check_eq "Exp.Height added with its default" 300 "$(ini_get "$VARNEL_INI" Exp Height)"
check_eq "Exp.Path added" 'C:\varnel\' "$(ini_get "$VARNEL_INI" Exp Path)"
check_eq "ini.inh added" 0 "$(ini_get "$VARNEL_INI" ini inh)"
