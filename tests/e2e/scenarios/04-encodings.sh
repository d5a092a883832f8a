# The settings file keeps its text through a start and a close: Japanese folders in a file of
# code page 932, and a folder name outside code page 932 in a UTF-8 file with a byte-order mark.

jp='C:\varnel\設定フォルダ\'
kr='C:\varnel\설정\'

# Code page 932 in, code page 932 out.
settings=$VARNEL_SESSION_DIR/cp932.ini
printf '[Exp]\r\nPath=%s\r\n[Launch]\r\nPath=%s\r\n' "$jp" "$jp" | iconv -f UTF-8 -t CP932 >"$settings"
varnel_install "$settings"
mkdir -p "$VARNEL_HOST_DIR/設定フォルダ"
varnel_start
varnel_wait_form || abort "the main form TForm1 of varnel.exe appears"
varnel_close
varnel_wait_exit || abort "varnel.exe exits after WM_CLOSE"
cp "$VARNEL_INI" "$E2E_ARTIFACTS/encodings-cp932.ini"
check_eq "a file whose text fits code page 932 stays in it" ansi "$(ini_encoding "$VARNEL_INI")"
check "it is valid code page 932" iconv -f CP932 -t UTF-8 -o /dev/null "$VARNEL_INI"
check_eq "Exp.Path (Japanese) kept" "$jp" "$(ini_get "$VARNEL_INI" Exp Path)"
check_eq "Launch.Path (Japanese) kept" "$jp" "$(ini_get "$VARNEL_INI" Launch Path)"

# UTF-8 with a byte-order mark in; a value outside code page 932 keeps it UTF-8.
settings=$VARNEL_SESSION_DIR/utf8.ini
printf '\xef\xbb\xbf[Exp]\r\nPath=%s\r\nPathEx=%s\r\n' "$kr" "$jp" >"$settings"
varnel_install "$settings"
mkdir -p "$VARNEL_HOST_DIR/설정" "$VARNEL_HOST_DIR/設定フォルダ"
varnel_start
varnel_wait_form || abort "the main form TForm1 of varnel.exe appears"
varnel_close
varnel_wait_exit || abort "varnel.exe exits after WM_CLOSE"
cp "$VARNEL_INI" "$E2E_ARTIFACTS/encodings-utf8.ini"
check_eq "a file with text outside code page 932 is UTF-8 with a byte-order mark" utf-8-bom "$(ini_encoding "$VARNEL_INI")"
check_eq "Exp.Path (Korean) kept" "$kr" "$(ini_get "$VARNEL_INI" Exp Path)"
check_eq "Exp.PathEx (Japanese) kept" "$jp" "$(ini_get "$VARNEL_INI" Exp PathEx)"
check_eq "sections in order" "Exp Pos Watch Launch Popup ini Hotkey Quiet" "$(ini_sections "$VARNEL_INI" | tr '\n' ' ' | sed 's/ $//')"
