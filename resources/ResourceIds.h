// Numbers of the program's pictures, shared by the resource scripts and the code that loads
// them. The Launch menu's icons have numbers, not names, on purpose: the shell shows the first
// icon group of an executable as its icon, and named groups sort before numbered ones, so
// MAINICON must stay the only named icon for the program to keep its own picture.
#pragma once

#define IDI_LAUNCH_DUAL 101
#define IDI_LAUNCH_PIN 102
#define IDI_LAUNCH_SUPPLEMENT 103
#define IDI_LAUNCH_EXIT 104
#define IDI_LAUNCH_SETTINGS 105
#define IDI_LAUNCH_LOAD 106
// The tray's picture while the edges are paused.
#define IDI_PAUSED 107
