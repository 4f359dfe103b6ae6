// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The sound player lives in a module of its own, loaded at the first cue: the sound server's
// client library and its threads come with it, so the game starts, and an idle game runs,
// without them.
#pragma once

#include "ui/platform/soundplayer.h"

#include <memory>

namespace platform {

// The one function the module exports, by this name: makes its player. `alert` sounds instead
// of a missing or unplayable file; it is called on the thread that plays.
using MakeSoundPlayer = SoundPlayer *(*)(void (*alert)());
inline constexpr const char *MakeSoundPlayerSymbol = "quintagridMakeSoundPlayer";

// The module's file name, and where it is looked for: beside the executable (the build tree),
// then in the installed place relative to it. Nothing is looked up in the current directory.
inline constexpr const char *SoundModuleFileName = "quintagrid-sound.so";

// Loads the module and makes its player; null when the module is missing or broken, which
// leaves the game silent.
[[nodiscard]] std::unique_ptr<SoundPlayer> loadSoundPlayer(void (*alert)());

} // namespace platform
