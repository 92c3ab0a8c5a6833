// Saves the factory configuration to the path given, as the Save file button
// does, and prints the ActivityLog.
#include "core/factorydefaults.h"
#include "formfixture.h"
#include "settingsfile/savefile.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: saveasuser PATH\n";
        return 2;
    }
    FormFixture window;
    pelzo::applyFactoryDefaults(window.form);
    window.platform.saveAnswers << QString::fromLocal8Bit(argv[1]);
    pelzo::saveFile(window.form);
    QTextStream(stdout) << window.form.activityLog();
    return 0;
}
