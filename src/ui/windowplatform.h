#pragma once

#include "core/qtplatform.h"

#include <QPointer>
#include <QWidget>

namespace pelzo {

// The window's platform: Qt's, with file dialogs and message boxes on the screen.
class WindowPlatform : public QtPlatform
{
public:
    using QtPlatform::QtPlatform;

    QString getOpenFileName(const FileDialogRequest &request) override;
    QString getSaveFileName(const FileDialogRequest &request) override;
    void messageBox(const QString &text, const QString &detail = {}) override;
    int ask(const Question &question) override;

    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }

private:
    QString runFileDialog(const FileDialogRequest &request, bool save);

    QPointer<QWidget> m_dialogParent;
};

// "description|pattern" as the window states a filter, in the form Qt's dialogs take.
QString qtFileFilter(const QString &filter);

// The title every message box of the program carries.
QString applicationTitle();

} // namespace pelzo
