#include "core/startup.h"

#include "ui/fieldcontrols.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace pelzo {

namespace {

void fillChoiceLists(Form1 &form)
{
    for (const ChoiceList &list : choiceLists()) {
        auto *combo = form.control<QComboBox>(controlsOf(list.field).front());
        // Adding items must not change the text the field holds.
        const QString text = combo->currentText();
        combo->addItems(list.items);
        combo->setEditText(text);
    }
}

void showCtcssAsUnused(Form1 &form)
{
    form.Text32->setEnabled(false);
    form.Label21->setEnabled(false);
    form.Text32->setText(QStringLiteral("---"));
}

} // namespace

void formLoad(Form1 &form)
{
    fillChoiceLists(form);
    showCtcssAsUnused(form);
}

} // namespace pelzo
