#pragma once

#include "serial/qtserialport.h"
#include "ui/form1.h"
#include "ui/windowplatform.h"

#include <QPushButton>

// The window as the program builds it, on the real serial port of a program
// folder, its modal dialogs answered unattended.
class UnattendedPlatform : public pelzo::WindowPlatform
{
public:
    using WindowPlatform::WindowPlatform;

    QString getOpenFileName(const pelzo::FileDialogRequest &) override { return openAnswer; }
    void messageBox(const QString &text, const QString &detail) override { boxes << text + QLatin1Char('|') + detail; }
    int ask(const pelzo::Question &question) override
    {
        return answers.isEmpty() ? question.escapeAnswer : int(question.answers.indexOf(answers.takeFirst()));
    }

    QString openAnswer;
    QStringList boxes;
    QStringList answers; // the captions of the answers to the questions to come
};

struct RealWindow
{
    explicit RealWindow(const QString &programFolder)
        : platform(std::make_unique<pelzo::QtSerialPort>(programFolder), programFolder), form(platform)
    {
        form.load();
        form.port().setCommPort(1);
    }

    // Presses the button; the action runs its waits inside the click.
    void press(const char *button) { form.control<QPushButton>(button)->click(); }

    UnattendedPlatform platform;
    pelzo::Form1 form;
};
