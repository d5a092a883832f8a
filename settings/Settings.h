#pragma once
// The settings model: one record, a field per key of the settings file, read as Section.Key
// (Settings.Exp.Width). It starts zero-filled; ReadIni gives it its values. Each field is
// described, key, default and kind, in the table of SettingsKeys.h. The watched extensions
// are not here: they are the items of the settings window's list box.

#include <cstdint>
#include <map>
#include <string>

namespace varnel {

struct Settings {
  struct PosSection {
    std::int32_t Top = 0;
    std::int32_t Left = 0;
    std::int32_t Speed = 0;
    std::int32_t Sense = 0;
    std::int32_t Offset = 0;
    std::int32_t INHConner = 0;
    std::int32_t INHdotX = 0;
    std::int32_t INHdotY = 0;
    std::int32_t HideTray = 0;
  } Pos;

  struct ExpSection {
    std::int32_t Left = 0;
    std::int32_t Right = 0;
    std::int32_t Upper = 0;
    std::int32_t Lower = 0;
    std::int32_t Button = 0;
    std::int32_t BtnLR = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t FixSave = 0;
    std::int32_t Fix = 0;
    std::int32_t Watch = 0;
    // Set by editing the file only; read at start, never written.
    std::int32_t VT_ADJ = 0;
    std::int32_t VB_ADJ = 0;
    std::int32_t HL_ADJ = 0;
    std::int32_t HR_ADJ = 0;
    std::int32_t NoTree = 0;
    std::string Path;
    std::int32_t PathEn = 0;
    std::string PathEx;
    // Quiet while full-screen work is under way on the monitor of the edge.
    std::int32_t FullGuard = 1;
    // The outer edges of every monitor are edges, not only the primary one's.
    std::int32_t AllMonitors = 0;
  } Exp;

  struct WatchSection {
    std::int32_t Browser = 0;
    std::int32_t Enb = 0;
    std::int32_t Mode = 0;
    std::string SRCPath;
    std::string TrgPath;
    std::string AppPath;
  } Watch;

  struct LaunchSection {
    std::string Path;
    std::int32_t Left = 0;
    std::int32_t Right = 0;
    std::int32_t Upper = 0;
    std::int32_t Lower = 0;
    std::int32_t Button = 0;
    std::int32_t BtnLR = 0;
    std::int32_t Idle = 0;
    std::int32_t Lnk = 0;
    std::int32_t Auto = 0;
  } Launch;

  struct PopupSection {
    std::int32_t LR = 0;
    std::int32_t All = 0;
  } Popup;

  struct IniSection {
    std::int32_t inh = 0;
  } ini;

  // Keystrokes anywhere in the system, as text such as "Ctrl+Alt+E"; empty for none. Text
  // that names no keystroke is kept as it stands and sets none.
  struct HotkeySection {
    std::string Explorer;  // shows or parks the managed Explorer
    std::string Launch;    // pops the Launch menu at the pointer
    std::string Pause;     // pauses or resumes the edges
  } Hotkey;

  // Programs during which no edge fires while they are in front: file names separated by ";".
  struct QuietSection {
    std::string Programs;
  } Quiet;

  // The text the file holds for each folder or file setting whose target was missing at start
  // (a USB stick not plugged in, a network drive not yet connected), by "Section.Key". While
  // the program runs such a setting is empty, that is unset; the file keeps the text until the
  // user changes that field, so the path is there again once the drive is.
  std::map<std::string, std::string> MissingPaths;
};

}  // namespace varnel
