// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/soundmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace platform {

std::unique_ptr<SoundPlayer> loadSoundPlayer(void (*alert)())
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString places[] = {
        programDir.filePath(QString::fromLatin1(SoundModuleFileName)),
        programDir.filePath(QStringLiteral(QUINTAGRID_SOUND_MODULE_DIR "/")
                            + QString::fromLatin1(SoundModuleFileName)),
    };
    QString failures;
    for (const QString &place : places) {
        // Never unloaded: its code runs until the program ends.
        QLibrary module(place);
        if (!module.load()) {
            failures += QStringLiteral("\n  ") + module.errorString();
            continue;
        }
        const auto make = reinterpret_cast<MakeSoundPlayer>(module.resolve(MakeSoundPlayerSymbol));
        if (make != nullptr)
            return std::unique_ptr<SoundPlayer>(make(alert));
        failures += QStringLiteral("\n  ") + module.errorString();
    }
    qWarning("quintagrid: no sound module, so no sounds:%s", qPrintable(failures));
    return nullptr;
}

} // namespace platform
