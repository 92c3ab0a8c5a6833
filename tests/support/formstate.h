#pragma once

#include "ui/controltable.h"
#include "ui/form1.h"
#include "ui/inputrules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QStringList>

// What the configuration actions can change in the window, by name: every
// field control's text (the check box as "1" or "0"), the octet boxes'
// enabled state ("Text13.enabled"), the five reply flags and the ActivityLog.
using FormState = QMap<QString, QString>;

inline QString controlText(const pelzo::Form1 &form, const QString &name)
{
    QWidget *widget = form.findChild<QWidget *>(name);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *box = qobject_cast<QCheckBox *>(widget))
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return QStringLiteral("<no control %1>").arg(name);
}

inline FormState stateOf(const pelzo::Form1 &form)
{
    FormState state;
    for (const pelzo::ControlSpec &row : pelzo::controlTable()) {
        if (row.field)
            state[QLatin1String(nameOf(row.name))] = controlText(form, QLatin1String(nameOf(row.name)));
    }
    for (pelzo::ControlName name : pelzo::octetBoxNames()) {
        state[QLatin1String(nameOf(name)) + QLatin1String(".enabled")] =
            form.widget(name)->isEnabled() ? QStringLiteral("1") : QStringLiteral("0");
    }
    state[QStringLiteral("EeramResetSeen")] = QString::number(form.EeramResetSeen);
    state[QStringLiteral("ConnectSeen")] = QString::number(form.ConnectSeen);
    state[QStringLiteral("ReadEndSeen")] = QString::number(form.ReadEndSeen);
    state[QStringLiteral("FreqSaveSeen")] = QString::number(form.FreqSaveSeen);
    state[QStringLiteral("WifiSuccessSeen")] = QString::number(form.WifiSuccessSeen);
    state[QStringLiteral("ActivityLog")] = form.activityLog();
    return state;
}

// Sets the controls named in the state as the program sets them (whole, past
// any typing limit); flags and the ActivityLog are not set this way.
inline void setControls(pelzo::Form1 &form, const FormState &state)
{
    for (auto it = state.cbegin(); it != state.cend(); ++it) {
        QString name = it.key();
        if (name.endsWith(QLatin1String(".enabled"))) {
            name.chop(8);
            form.findChild<QWidget *>(name)->setEnabled(it.value() == QLatin1String("1"));
        } else if (auto *edit = form.findChild<QLineEdit *>(name)) {
            pelzo::setProgramText(edit, it.value());
        } else if (auto *combo = form.findChild<QComboBox *>(name)) {
            combo->setEditText(it.value());
        } else if (auto *box = form.findChild<QCheckBox *>(name)) {
            box->setChecked(it.value() == QLatin1String("1"));
        }
    }
}

inline FormState withChanges(FormState state, const FormState &changes)
{
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        state[it.key()] = it.value();
    return state;
}

inline QString visibleLineEnds(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

// One line per entry that differs, for a readable failure message.
inline QString differences(const FormState &actual, const FormState &expected)
{
    QStringList lines;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QString got = actual.value(it.key(), QStringLiteral("<missing>"));
        if (got != it.value()) {
            lines << QStringLiteral("%1: got \"%2\", expected \"%3\"")
                         .arg(it.key(), visibleLineEnds(got), visibleLineEnds(it.value()));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

#define COMPARE_STATE(actual, expected)                                                                            \
    do {                                                                                                           \
        const QString diff = differences((actual), (expected));                                                    \
        QVERIFY2(diff.isEmpty(), qPrintable(QLatin1Char('\n') + diff));                                            \
    } while (false)
