#include "ui/textfit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace pelzo {

namespace {

// QLineEdit keeps this many pixels free on each side of its text.
constexpr int LineEditInnerMargin = 2;

int lineEditRoom(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * LineEditInnerMargin;
}

int comboRoom(const QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.rect = combo->rect();
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    return field.width() - 2 * LineEditInnerMargin;
}

int buttonRoom(const QAbstractButton *button)
{
    const QStyle *style = button->style();
    if (qobject_cast<const QCheckBox *>(button)) {
        return button->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
    }
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    // The caption is drawn centred in the contents; keep it off the frame.
    return style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width() - 2 * LineEditInnerMargin;
}

} // namespace

int textRoom(const QWidget *control)
{
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return comboRoom(combo);
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return lineEditRoom(edit);
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return buttonRoom(button);
    if (auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->width() - 2 * frame->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, frame);
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->contentsRect().width() - 2 * label->margin() - label->indent();
    return control->width();
}

bool textFits(const QWidget *control, const QString &text)
{
    return control->fontMetrics().horizontalAdvance(text) <= textRoom(control);
}

void fitPopupToItems(QComboBox *combo)
{
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, combo->view()->sizeHintForIndex(combo->model()->index(i, 0)).width());
    const int frame = 2 * combo->view()->frameWidth();
    const int scrollBar = combo->view()->verticalScrollBar()->sizeHint().width();
    combo->view()->setMinimumWidth(widest + frame + scrollBar);
}

void followClippedText(QLineEdit *edit, QWidget *tipHolder, std::function<void(const QString &)> show)
{
    const auto update = [edit, tipHolder, show] {
        const QString text = edit->text();
        show(textFits(tipHolder, text) ? QString() : text);
    };
    QObject::connect(edit, &QLineEdit::textChanged, tipHolder, update);
    update();
}

} // namespace pelzo
