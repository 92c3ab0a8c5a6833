#include "ui/windowplatform.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace pelzo {

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

QString WindowPlatform::runFileDialog(const FileDialogRequest &request, bool save)
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

QString WindowPlatform::getOpenFileName(const FileDialogRequest &request)
{
    return runFileDialog(request, false);
}

QString WindowPlatform::getSaveFileName(const FileDialogRequest &request)
{
    return runFileDialog(request, true);
}

void WindowPlatform::messageBox(const QString &text, const QString &detail)
{
    if (isClosing())
        return;
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, m_dialogParent);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    box.exec();
}

int WindowPlatform::ask(const Question &question)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), question.text, QMessageBox::NoButton, m_dialogParent);
    if (!question.detail.isEmpty())
        box.setInformativeText(question.detail);
    QList<QPushButton *> buttons;
    for (const QString &answer : question.answers)
        buttons << box.addButton(answer, QMessageBox::ActionRole);
    box.setDefaultButton(buttons.value(question.defaultAnswer));
    box.setEscapeButton(buttons.value(question.escapeAnswer));
    box.exec();
    const qsizetype chosen = buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return chosen < 0 ? question.escapeAnswer : int(chosen);
}

} // namespace pelzo
