#include "ui/fieldmarks.h"

#include "ui/controltable.h"
#include "ui/controltips.h"
#include "ui/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace pelzo {

namespace {

// The label that names the control carries its mark; a control without one carries its own.
ControlName markBearer(ControlName control)
{
    const ControlRow &row = rowOf(control);
    return row.label ? *row.label : control;
}

void setBold(QWidget *widget, bool bold)
{
    QFont font = widget->font();
    if (font.bold() == bold)
        return;
    font.setBold(bold);
    widget->setFont(font);
}

} // namespace

bool isWrittenField(Field field)
{
    return field == Field::CallSsid || *wireNames(field).commandKeyword != '\0';
}

FieldMarks::FieldMarks(Form1 &form, ControlTips &tips) : m_form(form), m_tips(tips)
{
    for (const ControlRow &row : controlTable()) {
        if (!row.field || !isWrittenField(*row.field))
            continue;
        const ControlName name = row.name;
        const auto changed = [this, name] { compare(name); };
        if (auto *combo = m_form.control<QComboBox>(name))
            QObject::connect(combo->lineEdit(), &QLineEdit::textChanged, &m_form, changed);
        else if (auto *edit = m_form.control<QLineEdit>(name))
            QObject::connect(edit, &QLineEdit::textChanged, &m_form, changed);
        else if (auto *box = m_form.control<QCheckBox>(name))
            QObject::connect(box, &QCheckBox::toggled, &m_form, changed);
    }
}

void FieldMarks::takeReference(ReferenceSource source, const QList<Field> &fields)
{
    for (const Field field : fields) {
        if (!isWrittenField(field))
            continue;
        for (const ControlName control : controlsOf(field)) {
            m_reference[control] = {current(control), source};
            compare(control);
        }
    }
}

QList<ControlName> FieldMarks::marked() const
{
    QList<ControlName> names;
    for (const ControlRow &row : controlTable()) {
        if (m_marked.count(row.name))
            names << row.name;
    }
    return names;
}

QString FieldMarks::current(ControlName control) const
{
    if (auto *box = m_form.control<QCheckBox>(control))
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return m_form.text(control);
}

QString FieldMarks::heldNote(ControlName control) const
{
    const auto &[held, source] = m_reference.at(control);
    QString what = QStringLiteral("\"%1\"").arg(held);
    if (m_form.control<QCheckBox>(control))
        what = held == QLatin1String("1") ? QStringLiteral("it ticked") : QStringLiteral("it clear");
    else if (held.isEmpty())
        what = QStringLiteral("nothing");
    const QString holder = source == ReferenceSource::File ? QStringLiteral("the loaded file") : QStringLiteral("the station");
    return QStringLiteral("Not written yet: %1 holds %2.").arg(holder, what);
}

void FieldMarks::compare(ControlName control)
{
    const auto reference = m_reference.find(control);
    const bool differs = reference != m_reference.end() && reference->second.text != current(control);
    if (!differs && !m_marked.count(control))
        return;
    if (differs)
        m_marked.insert(control);
    else
        m_marked.erase(control);
    m_tips.set(m_form.widget(control), TipPart::Held, differs ? heldNote(control) : QString());
    const ControlName bearer = markBearer(control);
    bool bearerMarked = false;
    for (const ControlName other : m_marked)
        bearerMarked = bearerMarked || markBearer(other) == bearer;
    setBold(m_form.widget(bearer), bearerMarked);
}

} // namespace pelzo
