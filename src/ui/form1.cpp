#include "ui/form1.h"

#include "core/changerules.h"
#include "serial/portnames.h"
#include "ui/controltable.h"
#include "ui/eventbindings.h"
#include "ui/explanations.h"
#include "ui/inputrules.h"
#include "ui/dropdown.h"
#include "ui/textfit.h"
#include "ui/unwrittenchanges.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <map>
#include <vector>

namespace pelzo {

namespace {

// The system colours the window is drawn in (Windows' defaults for "active
// border" and "scroll bar"), fixed so the window looks the same everywhere.
const QColor ActiveBorderColour(180, 180, 180);
const QColor ScrollBarColour(200, 200, 200);
// The fixed layout was drawn for a compact 8-point interface font; a
// condensed face holds every caption and list item of it. Where it is
// missing, the Chinese face (needed anyway) is nearly as narrow.
constexpr qreal InterfaceFontPoints = 8;
const QStringList InterfaceFontFamilies{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("WenQuanYi Micro Hei")};

QRect pixels(const ControlRow &row)
{
    return {row.left / TwipsPerPixel, row.top / TwipsPerPixel, row.width / TwipsPerPixel,
            row.height / TwipsPerPixel};
}

QWidget *makeControl(const ControlRow &row, QWidget *parent)
{
    const QString text = QString::fromUtf8(row.text);
    switch (row.kind) {
    case ControlKind::Frame:
        return new QGroupBox(text, parent);
    case ControlKind::Label:
        return new QLabel(text, parent);
    case ControlKind::TextBox: {
        auto *edit = new QLineEdit(text, parent);
        if (row.typingLimit > 0)
            limitTyping(edit, row.typingLimit);
        return edit;
    }
    case ControlKind::MultiLineText: {
        auto *edit = new QPlainTextEdit(text, parent);
        // The program appends here for as long as it runs; an undo history would only grow.
        edit->setUndoRedoEnabled(false);
        edit->setTabChangesFocus(true);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        return edit;
    }
    case ControlKind::ComboBox: {
        auto *combo = new DropDown(parent);
        combo->setEditText(text);
        return combo;
    }
    case ControlKind::Button:
        return new QPushButton(text, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::ProgressBar: {
        auto *bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    }
    return nullptr;
}

// Inputs are named after their labels; a label's buddy takes the focus on its mnemonic too.
void describeForScreenReaders(const ControlRow &row, QWidget *created)
{
    if (row.kind == ControlKind::TextBox || row.kind == ControlKind::ComboBox || row.kind == ControlKind::MultiLineText ||
        row.kind == ControlKind::ProgressBar)
        created->setAccessibleName(accessibleNameOf(row));
}

void colour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

Form1::Form1(Platform &platform, QWidget *parent) : QWidget(parent), Station(platform), m_session(platform)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("PELZO aprs config"));
    setFixedSize(ClientWidthTwips / TwipsPerPixel, ClientHeightTwips / TwipsPerPixel);
    m_widgets[std::size_t(ControlName::Form1)] = this;
    createControls();
    applyLook();
    m_activityLog = std::make_unique<ActivityLog>(control<QPlainTextEdit>(ControlName::Text29));
    control<QPushButton>(ControlName::Command7)->setEnabled(false);
    installChangeRules(*this);
    m_marks = std::make_unique<FieldMarks>(*this, m_tips);
    explainControls(*this);
    bindEvents(*this);
    m_session.Timer2->start();
}

Form1::~Form1() = default;

void Form1::load()
{
    runLoad(*this);
}

void Form1::createControls()
{
    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlRow &row : controlTable()) {
        QWidget *parent = row.parent ? widget(*row.parent) : this;
        QWidget *created = makeControl(row, parent);
        created->setObjectName(QLatin1String(nameOf(row.name)));
        m_widgets[std::size_t(row.name)] = created;
        m_byName.emplace(nameOf(row.name), created);
        created->setGeometry(pixels(row));
        if (row.hidden)
            created->hide();
        describeForScreenReaders(row, created);
        if (row.tabIndex < 0)
            created->setFocusPolicy(created->focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus);
        else if (created->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(row.tabIndex, created);
    }
    std::sort(tabOrder.begin(), tabOrder.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
}

void Form1::applyLook()
{
    auto *frame1 = control<QGroupBox>(ControlName::Frame1);
    frame1->setAutoFillBackground(true);
    colour(frame1, QPalette::Window, ActiveBorderColour);
    colour(frame1, QPalette::Button, ActiveBorderColour);
    setAutoFillBackground(true);
    colour(this, QPalette::Window, ActiveBorderColour);
    QFont compact = font();
    compact.setFamilies(InterfaceFontFamilies);
    compact.setPointSizeF(InterfaceFontPoints);
    for (QWidget *child : findChildren<QWidget *>()) {
        if (child != widget(ControlName::Label3))
            child->setFont(compact);
    }
    showClippedTexts();

    auto *title = control<QLabel>(ControlName::Label3);
    QFont titleFont = title->font();
    titleFont.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    titleFont.setPointSizeF(14.25);
    titleFont.setBold(true);
    title->setFont(titleFont);
    colour(title, QPalette::WindowText, Qt::black);

    colour(widget(ControlName::Text29), QPalette::Base, ScrollBarColour);
    for (ControlName name : {ControlName::Text3, ControlName::Text6, ControlName::Text12})
        colour(widget(name), QPalette::Base, ActiveBorderColour);
}

void Form1::showClippedTexts()
{
    for (const ControlRow &row : controlTable()) {
        if (row.hidden || row.name == ControlName::Combo1)
            continue;
        QWidget *holder = widget(row.name);
        const auto showWhole = [this, holder](const QString &whole) { m_tips.set(holder, TipPart::Value, whole); };
        if (auto *edit = control<QLineEdit>(row.name))
            followClippedText(edit, edit, showWhole);
        else if (auto *combo = control<QComboBox>(row.name))
            followClippedText(combo->lineEdit(), combo, showWhole);
        if (row.label && row.field && !isAddressField(*row.field))
            control<QLabel>(*row.label)->setBuddy(widget(row.name));
    }
}

void Form1::beginUpdateBatch()
{
    ++m_batches;
    m_activityLog->beginBatch();
}

void Form1::endUpdateBatch()
{
    if (--m_batches == 0) {
        for (const auto &[field, text] : std::exchange(m_fieldsNotShown, {}))
            writeField(field, text);
    }
    m_activityLog->endBatch();
}

QWidget *Form1::fieldWidget(Field field, int box) const
{
    return widget(controlsOf(field)[std::size_t(box)]);
}

QString Form1::fieldText(Field field) const
{
    if (const auto pending = m_fieldsNotShown.find(field); pending != m_fieldsNotShown.end())
        return pending->second;
    QWidget *holder = fieldWidget(field);
    if (auto *box = qobject_cast<QCheckBox *>(holder))
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto *combo = qobject_cast<QComboBox *>(holder))
        return combo->currentText();
    return qobject_cast<QLineEdit *>(holder)->text();
}

void Form1::writeFieldText(Field field, const QString &text)
{
    if (m_batches > 0 && field != Field::Digi)
        m_fieldsNotShown[field] = afterChangeRule(field, text);
    else
        writeField(field, text);
}

void Form1::writeField(Field field, const QString &text)
{
    QWidget *holder = fieldWidget(field);
    if (auto *box = qobject_cast<QCheckBox *>(holder))
        box->setChecked(text == QLatin1String("1"));
    else if (auto *combo = qobject_cast<QComboBox *>(holder))
        setProgramText(combo->lineEdit(), text);
    else
        setProgramText(qobject_cast<QLineEdit *>(holder), text);
}

QString Form1::octet(Field field, int box) const
{
    return qobject_cast<QLineEdit *>(fieldWidget(field, box))->text();
}

void Form1::writeOctet(Field field, int box, const QString &text)
{
    setProgramText(qobject_cast<QLineEdit *>(fieldWidget(field, box)), text);
}

void Form1::setOctetBoxesEnabled(bool enabled)
{
    for (ControlName name : octetBoxNames())
        widget(name)->setEnabled(enabled);
}

void Form1::addChoices(Field field, const QStringList &items)
{
    auto *combo = qobject_cast<QComboBox *>(fieldWidget(field));
    // Adding items must not change the text the field holds.
    const QString text = combo->currentText();
    combo->addItems(items);
    combo->setEditText(text);
    fitPopupToItems(combo);
}

QString Form1::text(ControlName control) const
{
    QWidget *holder = widget(control);
    if (auto *edit = qobject_cast<QLineEdit *>(holder))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(holder))
        return combo->currentText();
    if (auto *button = qobject_cast<QAbstractButton *>(holder))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(holder))
        return label->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(holder))
        return plain->toPlainText();
    return {};
}

void Form1::setText(ControlName control, const QString &text)
{
    QWidget *holder = widget(control);
    if (auto *edit = qobject_cast<QLineEdit *>(holder))
        setProgramText(edit, text);
    else if (auto *combo = qobject_cast<QComboBox *>(holder))
        combo->setEditText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(holder))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(holder))
        label->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(holder))
        plain->setPlainText(text);
}

bool Form1::isEnabled(ControlName control) const
{
    return widget(control)->isEnabled();
}

void Form1::setEnabled(ControlName control, bool enabled)
{
    widget(control)->setEnabled(enabled);
}

void Form1::addPortListItem(const QString &name, const QString &device)
{
    auto *combo = control<QComboBox>(ControlName::Combo1);
    // The first item added would otherwise replace the saved name.
    const QString text = combo->currentText();
    const auto number = listedPortNumber(name);
    int at = 0;
    while (at < combo->count() && listedPortNumber(combo->itemText(at)) < number)
        ++at;
    combo->insertItem(at, name);
    combo->setItemData(at, device, Qt::ToolTipRole);
    combo->setEditText(text);
    fitPopupToItems(combo);
}

void Form1::removePortListItem(const QString &name)
{
    auto *combo = control<QComboBox>(ControlName::Combo1);
    const QString text = combo->currentText();
    combo->removeItem(combo->findText(name, Qt::MatchExactly));
    combo->setEditText(text);
}

QStringList Form1::portListItems() const
{
    const auto *combo = control<QComboBox>(ControlName::Combo1);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void Form1::setPortListHint(const QString &hint)
{
    m_tips.set(widget(ControlName::Combo1), TipPart::Value, hint);
}

void Form1::setProgressRange(int minimum, int maximum)
{
    control<QProgressBar>(ControlName::ProgressBar1)->setRange(minimum, maximum);
}

void Form1::setProgressValue(int value)
{
    control<QProgressBar>(ControlName::ProgressBar1)->setValue(value);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!mayDropChanges(*this, ControlName::Form1))
        return event->ignore();
    // Every wait returns at once from here on, the running actions meet a
    // closed port at their next step, and nothing more is sent.
    m_session.Timer1->stop();
    m_session.Timer2->stop();
    port().shutDown();
    platform().beginClosing();
    QWidget::closeEvent(event);
}

} // namespace pelzo
