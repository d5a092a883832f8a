#include "settings/Settings.h"

// The model is a plain record: its values come from ReadIni (settings/Rw_ini.cpp), which also
// holds the defaults, so that the file and the defaults are read in one place.
