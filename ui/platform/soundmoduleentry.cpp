// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module's entry: the PulseAudio player.
#include "ui/platform/pulsesoundplayer.h"
#include "ui/platform/soundmodule.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT platform::SoundPlayer *quintagridMakeSoundPlayer(void (*alert)())
{
    static_assert(std::is_same_v<decltype(&quintagridMakeSoundPlayer), platform::MakeSoundPlayer>);
    return new platform::PulseSoundPlayer(alert);
}
