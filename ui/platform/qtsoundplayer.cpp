#include "qtsoundplayer.h"

#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include <map>
#include <string>

namespace platform {

struct QtSoundPlayer::Cues
{
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects;
};

QtSoundPlayer::QtSoundPlayer()
    : cues_(std::make_unique<Cues>())
{ }

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const char *fileName)
{
    for (auto &[name, effect] : cues_->effects)
        effect->stop();
    auto &effect = cues_->effects[fileName];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(
            QDir::current().absoluteFilePath(QString::fromLocal8Bit(fileName))));
    }
    effect->play();
}

} // namespace platform
