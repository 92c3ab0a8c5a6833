#pragma once

#include "testing/virtualplatform.h"
#include "serial/startup.h"
#include "ui/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

// A window on the virtual-time platform, loaded as the program loads it, its
// program folder a fresh temporary folder (a connect writes a file there).
struct FormFixture
{
    explicit FormFixture(bool shown = false) : platform(0), form(platform)
    {
        platform.setProgramFolder(programFolder.path());
        platform.port().setOpenable({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
        pelzo::formLoad(form);
        if (shown) {
            form.show();
            QApplication::setActiveWindow(&form);
        }
    }

    QTemporaryDir programFolder;
    pelzo::VirtualPlatform platform;
    pelzo::Form1 form;
};
