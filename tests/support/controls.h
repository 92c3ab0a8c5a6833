#pragma once

#include "ui/controltable.h"
#include "ui/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

// The window's controls by name, as the tests drive them.
inline QPushButton *buttonNamed(const pelzo::Form1 &form, const char *name) { return form.control<QPushButton>(name); }
inline QLineEdit *editNamed(const pelzo::Form1 &form, const char *name) { return form.control<QLineEdit>(name); }
inline QComboBox *comboNamed(const pelzo::Form1 &form, const char *name) { return form.control<QComboBox>(name); }
inline QLabel *labelNamed(const pelzo::Form1 &form, const char *name) { return form.control<QLabel>(name); }
inline QCheckBox *checkBoxNamed(const pelzo::Form1 &form, const char *name) { return form.control<QCheckBox>(name); }
inline QPlainTextEdit *plainTextNamed(const pelzo::Form1 &form, const char *name)
{
    return form.control<QPlainTextEdit>(name);
}
inline QProgressBar *progressBarNamed(const pelzo::Form1 &form, const char *name)
{
    return form.control<QProgressBar>(name);
}
inline QLineEdit *octetBox(const pelzo::Form1 &form, pelzo::Field field, int box)
{
    return form.control<QLineEdit>(pelzo::controlsOf(field)[std::size_t(box)]);
}

inline QList<const char *> octetBoxTexts()
{
    QList<const char *> names;
    for (pelzo::ControlName name : pelzo::octetBoxNames())
        names << pelzo::nameOf(name);
    return names;
}
