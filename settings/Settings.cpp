#include "settings/Settings.h"

// The model is a plain record: each field's key, default and kind are in the table of
// settings/SettingsKeys.h, which ReadIni and WriteIni walk.
