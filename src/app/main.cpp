#include "core/qtplatform.h"
#include "core/startup.h"
#include "serial/qtserialport.h"
#include "ui/form1.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(pelzo::applicationTitle());

    const QString portsFolder = QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("ports"));
    pelzo::QtPlatform platform(std::make_unique<pelzo::QtSerialPort>(portsFolder));
    pelzo::Form1 form(platform);
    platform.setDialogParent(&form);
    pelzo::formLoad(form);
    form.show();
    return app.exec();
}
