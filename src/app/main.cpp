#include "core/programfolder.h"
#include "serial/qtserialport.h"
#include "ui/form1.h"
#include "ui/windowplatform.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(pelzo::applicationTitle());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pelzo-config.svg")));

    const QString folder = pelzo::chooseProgramFolder(QApplication::applicationDirPath(), pelzo::userConfigFolder());
    pelzo::WindowPlatform platform(
        std::make_unique<pelzo::QtSerialPort>(folder), folder);
    pelzo::Form1 form(platform);
    platform.setDialogParent(&form);
    form.load();
    form.show();
    return app.exec();
}
