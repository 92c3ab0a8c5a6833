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
        // The type first: a drop-down being torn down still sends its children's
        // events through here, and by then it is no QComboBox any more.
        const QEvent::Type type = event->type();
        if (type != QEvent::Wheel && type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
            return false;
        if (m_combo->view()->isVisible())
            return false;
        if (type == QEvent::Wheel)
            return true;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return type == QEvent::KeyPress;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (type == QEvent::KeyPress)
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
