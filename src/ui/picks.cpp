#include "ui/picks.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace pelzo {

namespace {

class PickGuard : public QObject
{
public:
    explicit PickGuard(QComboBox *combo) : QObject(combo), m_combo(combo)
    {
        combo->installEventFilter(this);
        if (combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (m_combo->view()->isVisible())
            return false;
        if (event->type() == QEvent::Wheel)
            return true;
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return event->type() == QEvent::KeyPress;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (event->type() == QEvent::KeyPress)
                m_combo->showPopup();
            return true;
        default:
            return false;
        }
    }

private:
    QComboBox *m_combo;
};

} // namespace

void makePicksDeliberate(QComboBox *combo)
{
    new PickGuard(combo);
}

} // namespace pelzo
