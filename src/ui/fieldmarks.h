#pragma once

#include "core/deviceconfig.h"
#include "ui/controlname.h"

#include <QList>

#include <map>
#include <set>

namespace pelzo {

class ControlTips;
class Form1;

// Where the configuration the fields are compared with came from.
enum class ReferenceSource { Station, File };

// Marks the fields whose text differs from the configuration as it last came
// from the station or went to it, or came from a file: the label turns bold
// and the tooltip says what was held. Before the first reference nothing is marked.
class FieldMarks
{
public:
    FieldMarks(Form1 &form, ControlTips &tips);

    // The fields' texts as they are now become what they are compared with.
    void takeReference(ReferenceSource source, const QList<Field> &fields);
    bool any() const { return !m_marked.empty(); }
    // The marked controls, in the window's order.
    QList<ControlName> marked() const;

private:
    void compare(ControlName control);
    QString current(ControlName control) const;
    QString heldNote(ControlName control) const;

    Form1 &m_form;
    ControlTips &m_tips;
    struct Reference
    {
        QString text;
        ReferenceSource source;
    };
    std::map<ControlName, Reference> m_reference;
    std::set<ControlName> m_marked;
};

// The fields that go to the station in a write, and so can be unwritten.
bool isWrittenField(Field field);

} // namespace pelzo
