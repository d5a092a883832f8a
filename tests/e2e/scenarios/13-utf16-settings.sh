# A settings file saved by Notepad as "Unicode" (UTF-16 little-endian after its byte-order
# mark): Varnel honours its values, and writes it back in the same encoding, which the
# system's own GetPrivateProfileString reads. What nobody changed comes back as it was.

jp='C:\varnel\設定フォルダ\'
settings=$VARNEL_SESSION_DIR/utf16.ini
# The part that a save leaves as it is (Varnel appends its other keys behind Speed).
kept=$VARNEL_SESSION_DIR/utf16-kept.bin
{ printf '\xff\xfe'; printf '; 設定ファイル（メモ帳の Unicode）\r\n[Pos]\r\nSpeed=55\r\n' | iconv -f UTF-8 -t UTF-16LE; } >"$kept"
{
  cat "$kept"
  printf '[Exp]\r\nPath=%s\r\nVT_ADJ=12\r\n[Mine]\r\nkeep=これ\r\n' "$jp" | iconv -f UTF-8 -t UTF-16LE
} >"$settings"
cp "$settings" "$E2E_ARTIFACTS/utf16-input.ini"
varnel_install "$settings"
mkdir -p "$VARNEL_HOST_DIR/設定フォルダ"
check_eq "the system reads Pos.Speed from the file as given" 55 "$(ini_system_get Pos Speed)"

varnel_start
varnel_wait_form || abort "the main form TForm1 of varnel.exe appears"
varnel_close
varnel_wait_exit || abort "varnel.exe exits after WM_CLOSE"
check_eq "exit status" 0 "$VARNEL_EXIT_CODE"
cp "$VARNEL_INI" "$E2E_ARTIFACTS/utf16-output.ini"

check_eq "written back as UTF-16 LE with its byte-order mark" utf-16le-bom "$(ini_encoding "$VARNEL_INI")"
check "all of it is UTF-16 LE text" iconv -f UTF-16LE -t UTF-8 -o /dev/null "$VARNEL_INI"
check "the lines before the first change come back byte for byte" cmp -s -n "$(stat -c %s "$kept")" "$kept" "$VARNEL_INI"
check_eq "Pos.Speed 55 was honoured and written back (not the default 10)" 55 "$(ini_get "$VARNEL_INI" Pos Speed)"
check_eq "the system's GetPrivateProfileString reads Pos.Speed" 55 "$(ini_system_get Pos Speed)"
check_eq "the system reads Exp.Path (Japanese) as it was" "$jp" "$(ini_system_get Exp Path)"
check_eq "the system reads Exp.Height, added by Varnel" 300 "$(ini_system_get Exp Height)"
check_eq "the hand-set Exp.VT_ADJ stays" 12 "$(ini_system_get Exp VT_ADJ)"
check_eq "another program's section stays" これ "$(ini_system_get Mine keep)"
check_eq "sections in order" "Pos Exp Mine Watch Launch Popup ini Hotkey Quiet" "$(ini_sections "$VARNEL_INI" | tr '\n' ' ' | sed 's/ $//')"
check_eq "no file of the save is left" "varnel.exe varnel.ini 設定フォルダ" "$(ls "$VARNEL_HOST_DIR" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
