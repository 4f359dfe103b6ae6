// Quintagrid: a five-by-five poker patience.
#include "forms.h"
#include "frmquintagrid.h"
#include "platform/platform.h"
#include "platform/qtsoundplayer.h"

#include "highscores/highscores.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::preferX11WhereAvailable();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintagrid"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("quintagrid"));

    platform::SteadyTickCounter ticks;
    platform::QtEventPump pump;
    platform::SeededRandom random;
    platform::QtSoundPlayer sound;
    platform::QtWindowSystem windows;
    platform::Platform platform(ticks, pump, random, sound, windows);
    highscores::Module1 module1;

    ui::Forms forms(platform, module1);
    ui::frmQuintagrid &main = forms.mainWindow();
    main.Form_Load();
    platform::centreOnScreen(&main);
    main.show();
    return QApplication::exec();
}
