// The far side of two port faults, in a process of its own:
//   faultwindow hold PATH     keeps the serial port PATH open until its input ends
//   faultwindow read FOLDER   the window on COM1 of FOLDER/ports presses Read
//                             data, then Factory defaults, and prints what it saw
// The campaign runs the second as a user who may not use the port.
#include "emulatedwindow.h"

#include <QApplication>
#include <QSerialPort>
#include <QTextStream>

#include <cstdio>

namespace {

int hold(const QString &path)
{
    QSerialPort port(path);
    if (!port.open(QIODevice::ReadWrite)) {
        QTextStream(stdout) << "failed: " << port.errorString() << '\n';
        return 1;
    }
    QTextStream(stdout) << "held" << Qt::endl;
    while (std::getchar() != EOF) {
    }
    return 0;
}

int read(const QString &folder)
{
    EmulatedWindow window(folder);
    pelzo::Form1 &form = window.form;
    buttonNamed(form, "Command6")->click();
    QTextStream out(stdout);
    for (const QString &box : std::as_const(window.platform.boxes))
        out << "box: " << QString(box).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n';
    out << "caption: " << buttonNamed(form, "Command6")->text() << '\n';
    out << "open: " << form.port().isOpen() << '\n';
    out << "log: " << form.activityLog().replace(QLatin1String("\r\n"), QLatin1String(" / ")) << '\n';
    buttonNamed(form, "Command0")->click();
    out << "callsign: " << form.fieldText(pelzo::Field::Callsign) << '\n';
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("hold"))
        return hold(arguments[2]);
    if (arguments.size() == 3 && arguments[1] == QLatin1String("read"))
        return read(arguments[2]);
    QTextStream(stderr) << "usage: faultwindow hold PATH | faultwindow read FOLDER\n";
    return 2;
}
