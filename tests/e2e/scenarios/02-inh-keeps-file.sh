# With ini.inh = 1 closing leaves the settings file exactly as it was, odd values, comments,
# Japanese text (code page 932) and line ends included.

settings=$VARNEL_SESSION_DIR/inh.ini
{
  printf '; e2e marker: Varnel must not touch this file\r\n'
  printf '; %s\r\n' "$(echo '設定ファイル（書き換え禁止）' | iconv -f UTF-8 -t CP932)"
  printf '[Pos]\r\nTop=5\r\nLeft=7\r\nSpeed=0x14\r\nSense=0\r\nOffset=5\r\n'
  printf '[Exp]\r\nWidth=555\r\nPath=C:\\no-such-folder\\\r\nVT_ADJ=12\r\nFix=1\r\n'
  printf '[Watch]\r\nExt0=doc\r\nExt2=txt\r\n'
  printf '[ini]\r\ninh=1\r\n'
} >"$settings"
varnel_install "$settings"
varnel_start
varnel_wait_form || abort "the main form TForm1 of varnel.exe appears"
varnel_close
varnel_wait_exit || abort "varnel.exe exits after WM_CLOSE"
check_eq "exit status" 0 "$VARNEL_EXIT_CODE"
check "varnel.ini is byte for byte unchanged" cmp -s "$settings" "$VARNEL_INI"
check_eq "no other file appeared" "varnel.exe varnel.ini" "$(ls "$VARNEL_HOST_DIR" | sort | tr '\n' ' ' | sed 's/ $//')"
