// Renders the main window, as it looks after start-up (or after the Default
// button with --defaults), into a PNG file without needing a display.
#include "core/factorydefaults.h"
#include "core/startup.h"
#include "core/virtualplatform.h"
#include "ui/form1.h"

#include <QApplication>
#include <QPushButton>
#include <QTextStream>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || args.contains(QStringLiteral("--help"))) {
        QTextStream(stderr) << "usage: window-picture OUTPUT.png [--defaults]\n";
        return 2;
    }
    pelzo::VirtualPlatform platform;
    pelzo::Form1 form(platform);
    pelzo::formLoad(form);
    if (args.contains(QStringLiteral("--defaults")))
        form.Command0->click();
    form.show();
    return form.grab().save(args.at(1)) ? 0 : 1;
}
