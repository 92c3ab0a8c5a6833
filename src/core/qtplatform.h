#pragma once

#include "core/platform.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QWidget>

class QEventLoop;

namespace pelzo {

// The platform of the real program: Qt's event loop, timers, dialogs and the given serial port.
class QtPlatform : public Platform
{
public:
    QtPlatform(std::unique_ptr<SerialPort> port, const QString &programFolder);
    ~QtPlatform() override;

    quint32 tickCount() override;
    void processEventsUntil(quint32 deadlineTick) override;
    std::unique_ptr<Timer> createTimer() override;
    SerialPort &serialPort() override { return *m_port; }
    QString getOpenFileName(const FileDialogRequest &request) override;
    QString getSaveFileName(const FileDialogRequest &request) override;
    void messageBox(const QString &text, const QString &detail = {}) override;
    QString programFolder() const override { return m_programFolder; }
    void beginClosing() override;

    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }

private:
    QString runFileDialog(const FileDialogRequest &request, bool save);

    std::unique_ptr<SerialPort> m_port;
    QString m_programFolder;
    QElapsedTimer m_clock;
    QList<QEventLoop *> m_waits;
    QPointer<QWidget> m_dialogParent;
};

// "description|pattern" as the window states a filter, in the form Qt's dialogs take.
QString qtFileFilter(const QString &filter);

// The title every message box of the program carries.
QString applicationTitle();

} // namespace pelzo
