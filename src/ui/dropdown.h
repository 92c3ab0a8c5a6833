#pragma once

#include <QComboBox>

namespace pelzo {

// An editable drop-down that says when its list is about to open, so that
// the list can be brought up to date first.
class DropDown : public QComboBox
{
    Q_OBJECT

public:
    explicit DropDown(QWidget *parent);

    void showPopup() override;

signals:
    void aboutToOpen();
};

} // namespace pelzo
