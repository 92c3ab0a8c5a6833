#pragma once

#ifdef Q_OS_UNIX
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <pwd.h>
#include <unistd.h>

// Runs programs as a user whom file modes bind: a throwaway user when the
// tests run as root (as on CI, where modes stop nothing), else the current user.
class UserWithoutRights
{
public:
    UserWithoutRights()
    {
        if (geteuid() != 0) {
            m_uid = getuid();
            m_gid = getgid();
            return;
        }
        m_name = QStringLiteral("pelzo-t%1").arg(QCoreApplication::applicationPid());
        QProcess useradd;
        useradd.start(QStringLiteral("useradd"), {"-M", "-N", "-s", "/usr/sbin/nologin", m_name});
        useradd.waitForFinished();
        if (useradd.exitCode() != 0) {
            m_error = QStringLiteral("useradd failed: ") + QString::fromLocal8Bit(useradd.readAllStandardError());
            m_name.clear();
            return;
        }
        const passwd *entry = getpwnam(m_name.toLocal8Bit().constData());
        m_uid = entry->pw_uid;
        m_gid = entry->pw_gid;
    }
    ~UserWithoutRights()
    {
        if (!m_name.isEmpty())
            QProcess::execute(QStringLiteral("userdel"), {m_name});
    }

    QString error() const { return m_error; }
    // False when the tests do not run as root and the programs run as the current user.
    bool isThrowaway() const { return !m_name.isEmpty(); }

    bool own(const QString &path) const
    {
        return chown(QFile::encodeName(path).constData(), m_uid, m_gid) == 0;
    }

    // The program's standard output; runtimeFolder is the user's own, for Qt's runtime files.
    QByteArray run(const QString &program, const QStringList &arguments, const QString &runtimeFolder) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
        process.setProcessEnvironment(environment);
        if (m_name.isEmpty())
            process.start(program, arguments);
        else
            process.start(QStringLiteral("runuser"), QStringList{"-u", m_name, "--", program} + arguments);
        process.waitForFinished();
        const QByteArray errors = process.readAllStandardError();
        if (!errors.isEmpty())
            qWarning("%s", errors.constData());
        return process.readAllStandardOutput();
    }

private:
    QString m_name;
    QString m_error;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
};

#endif
