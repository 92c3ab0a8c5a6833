// pelzo-cli: the station's exchanges from a terminal or a script. Each port
// named with -p runs in a process of its own; their output is prefixed with
// the port, and the exit status is the worst of them.
#include "cli/cli.h"
#include "cli/exitcodes.h"
#include "cli/options.h"
#include "cli/terminal.h"
#include "core/programfolder.h"
#include "core/qtplatform.h"
#include "serial/qtserialport.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>

#include <cstdio>

namespace {

// The window's platform without the window: the commands name their files
// themselves and say in their own words how an exchange ended.
class CommandLinePlatform : public pelzo::QtPlatform
{
public:
    using QtPlatform::QtPlatform;

    QString getOpenFileName(const pelzo::FileDialogRequest &) override { return {}; }
    QString getSaveFileName(const pelzo::FileDialogRequest &) override { return {}; }
    void messageBox(const QString &, const QString &) override {}
};

bool saveFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

int runHere(const QStringList &arguments)
{
    const QString folder = pelzo::chooseProgramFolder(QCoreApplication::applicationDirPath(), pelzo::userConfigFolder());
    CommandLinePlatform platform(std::make_unique<pelzo::QtSerialPort>(folder), folder);
    pelzo::cli::onInterrupt([&platform] { platform.beginClosing(); });
    QTextStream out(stdout);
    QTextStream err(stderr);
    pelzo::cli::Io io{out, err};
    io.terminal = pelzo::cli::errorIsTerminal();
    io.secret = pelzo::cli::readSecret;
    io.writeFile = saveFile;
    return pelzo::cli::run(arguments, platform, io);
}

// One process a port, all at once; their lines come back prefixed with the port.
int runOnEachPort(const QStringList &ports, const QStringList &rest)
{
    const bool json = rest.contains(QLatin1String("--json"));
    std::vector<std::unique_ptr<QProcess>> children;
    for (const QString &port : ports) {
        auto child = std::make_unique<QProcess>();
        const QString prefix = port + QStringLiteral(": ");
        const auto relay = [prefix](QProcess *process, QProcess::ProcessChannel channel, FILE *to) {
            process->setReadChannel(channel);
            while (process->canReadLine())
                std::fprintf(to, "%s%s", qPrintable(prefix), process->readLine().constData());
            std::fflush(to);
        };
        QProcess *raw = child.get();
        if (!json)
            QObject::connect(raw, &QProcess::readyReadStandardOutput,
                             [relay, raw] { relay(raw, QProcess::StandardOutput, stdout); });
        QObject::connect(raw, &QProcess::readyReadStandardError,
                         [relay, raw] { relay(raw, QProcess::StandardError, stderr); });
        child->start(QCoreApplication::applicationFilePath(), QStringList{"-p", port} + rest);
        children.push_back(std::move(child));
    }
    int worst = pelzo::cli::Success;
    QJsonObject results;
    QStringList failed;
    for (std::size_t i = 0; i < children.size(); ++i) {
        QProcess &child = *children[i];
        const QString &port = ports[int(i)];
        child.waitForFinished(-1);
        child.setReadChannel(QProcess::StandardError);
        for (const QByteArray &line : child.readAll().split('\n')) {
            if (!line.isEmpty())
                std::fprintf(stderr, "%s: %s\n", qPrintable(port), line.constData());
        }
        const QByteArray output = child.readAllStandardOutput();
        const int status = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : int(pelzo::cli::Interrupted);
        if (json)
            results[port] = QJsonObject{{"exit", status}, {"result", QJsonDocument::fromJson(output).object()}};
        else if (!output.isEmpty())
            std::fprintf(stdout, "%s: %s", qPrintable(port), output.constData());
        if (status != pelzo::cli::Success)
            failed << QStringLiteral("%1 (exit %2)").arg(port).arg(status);
        worst = std::max(worst, status);
    }
    // The summary names every port that did not succeed, so a script's log tells which station to look at.
    if (!failed.isEmpty())
        std::fprintf(stderr, "pelzo-cli: %lld of %lld ports failed: %s\n", qlonglong(failed.size()),
                     qlonglong(ports.size()), qPrintable(failed.join(QStringLiteral(", "))));
    if (json)
        std::fprintf(stdout, "%s", QJsonDocument(results).toJson().constData());
    return worst;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pelzo-cli"));
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.contains(QLatin1String("-h")) || arguments.contains(QLatin1String("--help"))) {
        std::fprintf(arguments.isEmpty() ? stderr : stdout, "%s", qPrintable(pelzo::cli::usage()));
        return arguments.isEmpty() ? pelzo::cli::UsageOrDifference : pelzo::cli::Success;
    }
    if (arguments.contains(QLatin1String("--version"))) {
        std::printf("pelzo-cli %s\n", qPrintable(QStringLiteral(PELZO_VERSION)));
        return pelzo::cli::Success;
    }
    QStringList ports, rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if ((arguments[i] == QLatin1String("-p") || arguments[i] == QLatin1String("--port")) && i + 1 < arguments.size())
            ports << arguments[++i];
        else
            rest << arguments[i];
    }
    if (ports.size() > 1)
        return runOnEachPort(ports, rest);
    return runHere(arguments);
}
