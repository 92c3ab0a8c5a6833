#include "core/qtplatform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

namespace pelzo {

namespace {

class QtTimer : public Timer
{
public:
    QtTimer()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (onTick)
                onTick();
        });
    }
    void setInterval(int ms) override { m_timer.setInterval(ms); }
    int interval() const override { return m_timer.interval(); }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

QString applicationTitle()
{
    return QStringLiteral("PELZO Config");
}

QString qtFileFilter(const QString &filter)
{
    const int bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    const QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1);
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
        return description;
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

QtPlatform::QtPlatform(std::unique_ptr<SerialPort> port, const QString &programFolder)
    : m_port(std::move(port)), m_programFolder(programFolder)
{
    m_clock.start();
}

QtPlatform::~QtPlatform() = default;

quint32 QtPlatform::tickCount()
{
    return quint32(m_clock.elapsed());
}

void QtPlatform::processEventsUntil(quint32 deadlineTick)
{
    // A nested loop that sleeps until the deadline: events run inside it, and no core spins.
    const quint32 remaining = deadlineTick - tickCount();
    if (remaining == 0 || remaining > 0x7fffffffu) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(int(remaining));
    m_waits.append(&loop);
    loop.exec();
    m_waits.removeOne(&loop);
}

void QtPlatform::beginClosing()
{
    Platform::beginClosing();
    for (QEventLoop *loop : std::as_const(m_waits))
        loop->quit();
}

std::unique_ptr<Timer> QtPlatform::createTimer()
{
    return std::make_unique<QtTimer>();
}

QString QtPlatform::runFileDialog(const FileDialogRequest &request, bool save)
{
    QFileDialog dialog(m_dialogParent, request.title, request.initialFolder, qtFileFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Neither dialog insists that the file exists: a typed name is taken as it is.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPlatform::getOpenFileName(const FileDialogRequest &request)
{
    return runFileDialog(request, false);
}

QString QtPlatform::getSaveFileName(const FileDialogRequest &request)
{
    return runFileDialog(request, true);
}

void QtPlatform::messageBox(const QString &text, const QString &detail)
{
    if (isClosing())
        return;
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, m_dialogParent);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    box.exec();
}

} // namespace pelzo
