// Reading the configuration file into the configuration record of the
// interactive mode, and writing it back when the main window closes.
#pragma once

#include <string>

#include "config/ColorText.h"
#include "config/uConfig.h"
#include "platform/HostFilesApi.h"

namespace kelvara {

// The skin colours by [Interface] SkinColorIndex; any other index is a
// custom colour ([Interface] SkinColor_9), by default the first one.
inline constexpr TColor kSkinColorDefault = 3680801;  // red 33, green 42, blue 56
inline constexpr TColor kSkinColorBlue = 9863960;     // red 24, green 131, blue 150
inline constexpr TColor kSkinColorGreen = 6330159;    // red 47, green 151, blue 96

// The smallest size the main window opens with.
inline constexpr int kMinWindowWidth = 850;
inline constexpr int kMinWindowHeight = 580;

// The main window's state kept in the configuration file: its skin colour
// and its placement. The window applies what ReadConfigFile gives and hands
// its state at exit to WriteConfigFile.
struct TWindowState {
  int SkinColorIndex = 0;
  TColor SkinColor = kSkinColorDefault;  // the colour in use
  bool Maximized = false;                // open centred and maximised
  bool HasPosition = false;              // false: open centred at the design size
  int Top = 0;
  int Left = 0;
  int Width = 0;  // on input to ReadConfigFile: the current (design) size
  int Height = 0;
};

// Fills `config` from the config object (loaded from config.ConfigFile on
// first use) and the registry, then reads the exclusion list:
//  1. the regional edition flag;
//  2. the [General] keys, LastCheck after StartDate with its value as the
//     default; BackupDir from BackupPath, else data folder + "Backup";
//  3. the installation identifier (made and stored when missing);
//  4. [Users] AllUsers and, when it is false, the names of [UserList];
//     a user who is not an administrator (`isAdmin` false) gets neither;
//  5. the skin colour and the window placement into `window`
//     (at least 850 x 580);
//  6. ReadExclusionFile.
// Values that are missing or unreadable keep the record's defaults.
// `config.Path`, `config.DataPath` and `config.ConfigFile` must be set.
void ReadConfigFile(TConfig& config, TWindowState& window, bool isAdmin);

// Writes `config` and `window` into the config object, saves it, then
// writes the exclusion list. Both files are written even when the other
// fails; the result names the first failure (an empty message: both saved).
// A failed save leaves the previous file intact.
platform::HostFileError WriteConfigFile(const TConfig& config, const TWindowState& window);

}  // namespace kelvara
