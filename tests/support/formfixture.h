#pragma once

#include "core/startup.h"
#include "core/virtualplatform.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

// A window on the virtual-time platform, loaded as the program loads it.
struct FormFixture
{
    explicit FormFixture(quint32 tickOrigin = 0) : platform(tickOrigin), form(platform) { pelzo::formLoad(form); }

    pelzo::VirtualPlatform platform;
    pelzo::Form1 form;
};
