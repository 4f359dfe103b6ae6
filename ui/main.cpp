// Quintagrid: a five-by-five poker patience.
#include "game.h"

#include "platform/windowsystem.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::preferX11WhereAvailable();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintagrid"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("quintagrid"));

    ui::Game game;
    game.start();
    return QApplication::exec();
}
