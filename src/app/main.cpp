#include "core/programfolder.h"
#include "core/qtplatform.h"
#include "core/startup.h"
#include "serial/qtserialport.h"
#include "ui/form1.h"

#include <QApplication>
#include <QIcon>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(pelzo::applicationTitle());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pelzo-config.svg")));

    const QString folder = pelzo::chooseProgramFolder(QApplication::applicationDirPath(), pelzo::userConfigFolder());
    pelzo::QtPlatform platform(std::make_unique<pelzo::QtSerialPort>(QDir(folder).filePath(QStringLiteral("ports"))),
                               folder);
    pelzo::Form1 form(platform);
    platform.setDialogParent(&form);
    pelzo::formLoad(form);
    form.show();
    return app.exec();
}
