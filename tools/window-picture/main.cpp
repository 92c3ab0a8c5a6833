// Renders the main window into a PNG file without needing a display, after
// driving it through one of a few scenes against the emulated PELZO in
// virtual time. The pictures of the README and the user guide come from it.
#include "testing/virtualplatform.h"
#include "serial/startup.h"
#include "testing/simpeer.h"
#include "ui/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolTip>

#include <functional>
#include <map>

namespace {

struct Scene
{
    const char *description;
    std::function<void(pelzo::Form1 &, pelzo::VirtualPlatform &, const QDir &)> play;
};

void click(pelzo::VirtualPlatform &platform, QPushButton *button, qint64 runMs)
{
    platform.at(platform.now() + 1, [button] { button->click(); });
    platform.runFor(runMs);
}

QString writeImage(const QDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("pelzo-2.1.bin"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(40 * 1024, '\x5a'));
    return path;
}

const std::map<QString, Scene> &scenes()
{
    static const std::map<QString, Scene> all{
        {QStringLiteral("start"), {"the window as it opens", [](auto &, auto &, auto &) {}}},
        {QStringLiteral("defaults"),
         {"after Default", [](pelzo::Form1 &form, pelzo::VirtualPlatform &platform, const QDir &) { click(platform, form.control<QPushButton>("Command0"), 10); }}},
        {QStringLiteral("read"),
         {"after Read data", [](pelzo::Form1 &form, pelzo::VirtualPlatform &platform, const QDir &) { click(platform, form.control<QPushButton>("Command6"), 5000); }}},
        {QStringLiteral("write"),
         {"after editing the comment and Write data",
          [](pelzo::Form1 &form, pelzo::VirtualPlatform &platform, const QDir &) {
              click(platform, form.control<QPushButton>("Command6"), 5000);
              form.setFieldText(pelzo::Field::Comment, QStringLiteral("QRV 144.640 - 73"));
              click(platform, form.control<QPushButton>("Command7"), 5000);
          }}},
        {QStringLiteral("marked"),
         {"after Read data, two fields edited and not yet written, one tooltip open",
          [](pelzo::Form1 &form, pelzo::VirtualPlatform &platform, const QDir &) {
              click(platform, form.control<QPushButton>("Command6"), 5000);
              auto *interval = form.control<QLineEdit>("Text10");
              interval->setText(QStringLiteral("0300"));
              form.control<QLineEdit>("Text7")->setText(QStringLiteral("PELZO 144.800MHz"));
              // From the window's left edge, so the whole tooltip stays within the picture.
              const QPoint below = interval->mapTo(&form, QPoint(0, interval->height() + 2));
              QToolTip::showText(form.mapToGlobal(QPoint(4, below.y())), interval->toolTip(), interval);
          }}},
        {QStringLiteral("wifi"),
         {"after Apply of the Wi-Fi name and password",
          [](pelzo::Form1 &form, pelzo::VirtualPlatform &platform, const QDir &) {
              form.control<QLineEdit>("Text34")->setText(QStringLiteral("shack-wlan"));
              form.control<QLineEdit>("Text33")->setText(QStringLiteral("73deN0CALL"));
              click(platform, form.control<QPushButton>("Command8"), 3000);
          }}},
        {QStringLiteral("load"),
         {"after Load file",
          [](pelzo::Form1 &form, pelzo::VirtualPlatform &platform, const QDir &folder) {
              const QString path = folder.filePath(QStringLiteral("station.ini"));
              QFile file(path);
              if (file.open(QIODevice::WriteOnly))
                  file.write("[PELZO]\r\n\r\nCALLSIGN:N0CALL-9\r\nCOMMENT TEXT:Mobile\r\nSENT TIME:0300\r\n");
              file.close();
              platform.openAnswers << path;
              click(platform, form.control<QPushButton>("Command4"), 10);
          }}},
        {QStringLiteral("update"),
         {"half way through a firmware update",
          [](pelzo::Form1 &form, pelzo::VirtualPlatform &platform, const QDir &folder) {
              platform.openAnswers << writeImage(folder);
              platform.questionAnswers << QStringLiteral("Update without");
              click(platform, form.control<QPushButton>("Command1"), 10);
              click(platform, form.control<QPushButton>("Command2"), 4500);
          }}},
        {QStringLiteral("updated"),
         {"after a firmware update",
          [](pelzo::Form1 &form, pelzo::VirtualPlatform &platform, const QDir &folder) {
              platform.openAnswers << writeImage(folder);
              platform.questionAnswers << QStringLiteral("Update without");
              click(platform, form.control<QPushButton>("Command1"), 10);
              click(platform, form.control<QPushButton>("Command2"), 15000);
          }}},
    };
    return all;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString scene = args.size() > 2 ? args.at(2).mid(args.at(2).startsWith(QLatin1String("--")) ? 2 : 0)
                                          : QStringLiteral("start");
    if (args.size() < 2 || args.contains(QStringLiteral("--help")) || !scenes().count(scene)) {
        QTextStream err(stderr);
        err << "usage: window-picture OUTPUT.png [SCENE]\nscenes:\n";
        for (const auto &[name, s] : scenes())
            err << "  " << name << "  " << s.description << "\n";
        return 2;
    }

    QTemporaryDir folder;
    pelzo::VirtualPlatform platform;
    platform.setProgramFolder(folder.path());
    SimPeer device;
    platform.port().attachPeer(&device);
    pelzo::Form1 form(platform);
    pelzo::formLoad(form);
    platform.serialPort().setCommPort(1);
    form.control<QComboBox>("Combo1")->setEditText(QStringLiteral("COM1"));
    form.show();
    scenes().at(scene).play(form, platform, QDir(folder.path()));
    QPixmap picture = form.grab();
    // A tooltip is a window of its own: it is drawn where it stands over the window.
    QPainter painter(&picture);
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->inherits("QTipLabel"))
            painter.drawPixmap(form.mapFromGlobal(top->pos()), top->grab());
    }
    painter.end();
    return picture.save(args.at(1)) ? 0 : 1;
}
