#include "ui/updatebackup.h"

#include "firmware/updatestart.h"
#include "protocol/readdata.h"
#include "protocol/writedata.h"
#include "settingsfile/loadfile.h"
#include "settingsfile/savefile.h"
#include "settingsfile/settingsvalues.h"
#include "ui/form1.h"
#include "ui/unwrittenchanges.h"

#include <QDir>
#include <QFile>

namespace pelzo {

namespace {

enum KeepAnswer { ReadFirst, UpdateWithout, CancelUpdate };
const Question KeepQuestion{
    QStringLiteral("The update resets the station's settings to factory values. Read them first, so they can be put "
                   "back afterwards?"),
    {},
    {QStringLiteral("Read first"), QStringLiteral("Update without"), QStringLiteral("Cancel")},
    ReadFirst,
    CancelUpdate};

enum RestoreAnswer { Restore, NotNow };

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

void UpdateBackup::noteRead(const Form1 &form, const Outcome &read)
{
    if (!read.done())
        return;
    m_read = settingsFileBytes(form);
    m_readPort = form.portName();
}

bool UpdateBackup::keep(Form1 &form)
{
    m_kept.clear();
    if (m_read.isEmpty() || m_readPort != form.portName()) {
        switch (form.platform().ask(KeepQuestion)) {
        case ReadFirst: {
            // The read replaces the fields, as Read data does: unwritten changes are asked about first.
            if (!mayDropChanges(form, ControlName::Command6))
                return false;
            m_read.clear();
            const Outcome read = readData(form, form.session());
            noteReference(form, ControlName::Command6, read);
            noteRead(form, read);
            if (m_read.isEmpty()) {
                form.appendActivityLog(QStringLiteral("The station's configuration could not be read, so the update "
                                                      "did not start."));
                return false;
            }
            break;
        }
        case UpdateWithout:
            return true;
        default:
            return false;
        }
    }
    const QString path = backupPath(form.platform().programFolder(), m_read);
    if (!saveSettingsBytes(form, path, m_read).done())
        return false;
    m_kept = path;
    return true;
}

Outcome UpdateBackup::update(Form1 &form)
{
    const Session &session = form.session();
    // A second click cancels, and a start that cannot begin says why, as always.
    if (session.firmware.cancellable || session.updateInProgress() || session.firmware.RomLength < MinImageBytes)
        return startUpdate(form, form.session());
    if (!keep(form))
        return Outcome::ended(Result::Declined);
    return startUpdate(form, form.session());
}

void UpdateBackup::offerRestore(Form1 &form)
{
    if (m_kept.isEmpty())
        return;
    form.appendActivityLog(QStringLiteral("The configuration read before the update is kept in %1.").arg(nativePath(m_kept)));
    const Question question{QStringLiteral("The update is complete, and the station starts with factory settings. Put "
                                           "back the configuration kept before the update?"),
                            nativePath(m_kept),
                            {QStringLiteral("Restore"), QStringLiteral("Not now")},
                            Restore,
                            NotNow};
    if (form.platform().ask(question) == Restore)
        restore(form);
}

// Waits for the station (the probes of a read), writes the kept configuration,
// reads it back and says what holds.
void UpdateBackup::restore(Form1 &form)
{
    Session &session = form.session();
    const QString kept = nativePath(m_kept);
    const QString notRestored = QStringLiteral("The station did not come back after the update; the configuration kept in "
                                               "%1 was not restored. Load it with Load file, then press Write data.")
                                    .arg(kept);
    if (!readData(form, session).done()) {
        form.appendActivityLog(notRestored);
        return;
    }
    const QString version = form.fieldText(Field::DeviceVersion);
    if (!loadSettingsFile(form, session, m_kept).done())
        return;
    const Outcome written = writeData(form, session);
    if (!written.done()) {
        form.appendActivityLog(notRestored);
        return;
    }
    const SettingsValues wanted = settingsValues(settingsFileBytes(form));
    const Outcome readBack = readData(form, session);
    noteReference(form, ControlName::Command6, readBack);
    if (!readBack.done()) {
        form.appendActivityLog(notRestored);
        return;
    }
    const QStringList differing = differingFields(written.fieldsSent, wanted, settingsValues(settingsFileBytes(form)));
    noteRead(form, Outcome());
    if (differing.isEmpty())
        form.appendActivityLog(QStringLiteral("Restored the configuration kept in %1; the station reports version %2.")
                                   .arg(kept, version));
    else
        form.appendActivityLog(QStringLiteral("After the restore the station holds other values than were kept in "
                                              "%1:\r\n%2")
                                   .arg(kept, differing.join(QStringLiteral("\r\n"))));
}

} // namespace pelzo
