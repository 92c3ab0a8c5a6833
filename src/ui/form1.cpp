#include "ui/form1.h"

#include "ui/actions.h"
#include "ui/controltable.h"
#include "ui/fieldcontrols.h"
#include "ui/inputrules.h"

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

namespace pelzo {

namespace {

constexpr int Timer1IntervalMs = 1000;
constexpr int Timer2IntervalMs = 100;
// Above the largest settings file a load echoes (16 MiB), and far above any
// working device's messages; only a device that floods the line reaches it.
constexpr qsizetype ActivityLogLimit = qsizetype(32) << 20;

// The system colours the window is drawn in (Windows' defaults for "active
// border" and "scroll bar"), fixed so the window looks the same everywhere.
const QColor ActiveBorderColour(180, 180, 180);
const QColor ScrollBarColour(200, 200, 200);
constexpr qreal CompactFontPoints = 8.25;

QRect pixels(const ControlSpec &row)
{
    return {row.left / TwipsPerPixel, row.top / TwipsPerPixel, row.width / TwipsPerPixel,
            row.height / TwipsPerPixel};
}

QComboBox *makeComboBox(QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    // The lists never change after start-up and comparisons are exact: no
    // insertion on Enter, no case-insensitive completion, no jump to a
    // look-alike item (which the duplicate check would do).
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setDuplicatesEnabled(true);
    combo->setCompleter(nullptr);
    combo->setEditText(QString());
    return combo;
}

QWidget *makeControl(const ControlSpec &row, QWidget *parent)
{
    const QString text = QString::fromUtf8(row.text);
    switch (row.kind) {
    case ControlKind::Frame: {
        auto *frame = new QGroupBox(text, parent);
        frame->setFlat(text.isEmpty() && parent->objectName().isEmpty());
        return frame;
    }
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
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        return edit;
    }
    case ControlKind::ComboBox: {
        auto *combo = makeComboBox(parent);
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

void colour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

Form1::Form1(Platform &platform, QWidget *parent) : QWidget(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("PELZO aprs config"));
    setFixedSize(ClientWidthTwips / TwipsPerPixel, ClientHeightTwips / TwipsPerPixel);
    createControls();
    bindControls();
    installInputRules(*this);

    Timer1 = m_platform.createTimer();
    Timer1->setInterval(Timer1IntervalMs);
    Timer2 = m_platform.createTimer();
    Timer2->setInterval(Timer2IntervalMs);
    connectActions(*this);
    Timer2->start();
}

Form1::~Form1()
{
    Timer1->stop();
    Timer2->stop();
}

void Form1::createControls()
{
    std::map<QString, QWidget *> containers{{QString(), this}};
    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlSpec &row : controlTable()) {
        QWidget *parent = containers.at(QString::fromLatin1(row.parent));
        QWidget *widget = makeControl(row, parent);
        widget->setObjectName(QString::fromLatin1(row.name));
        m_controls.emplace(row.name, widget);
        widget->setGeometry(pixels(row));
        if (row.kind == ControlKind::Frame)
            containers[widget->objectName()] = widget;
        if (row.hidden)
            widget->hide();
        if (row.tabIndex < 0)
            widget->setFocusPolicy(widget->focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus);
        else if (widget->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(row.tabIndex, widget);
    }
    std::sort(tabOrder.begin(), tabOrder.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    auto *frame1 = control<QGroupBox>("Frame1");
    frame1->setAutoFillBackground(true);
    colour(frame1, QPalette::Window, ActiveBorderColour);
    colour(frame1, QPalette::Button, ActiveBorderColour);
    setAutoFillBackground(true);
    colour(this, QPalette::Window, ActiveBorderColour);
    // The layout was drawn for a compact 8-point interface font: boxes a few
    // characters wide (an octet, an SSID) clip their text at larger sizes.
    QFont compact = font();
    compact.setPointSizeF(std::min<qreal>(compact.pointSizeF(), CompactFontPoints));
    for (QWidget *widget : findChildren<QWidget *>()) {
        if (widget->objectName() != QLatin1String("Label3"))
            widget->setFont(compact);
    }
    setStyleSheet(QStringLiteral("QLineEdit { padding: 0px 1px; }"));

    auto *title = control<QLabel>("Label3");
    QFont titleFont = title->font();
    titleFont.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    titleFont.setPointSizeF(14.25);
    titleFont.setBold(true);
    title->setFont(titleFont);
    colour(title, QPalette::WindowText, Qt::black);

    colour(control<QPlainTextEdit>("Text29"), QPalette::Base, ScrollBarColour);
    for (const char *name : {"Text3", "Text6", "Text12"})
        colour(control<QLineEdit>(name), QPalette::Base, ActiveBorderColour);
}

void Form1::bindControls()
{
    const auto edit = [this](const char *name) { return control<QLineEdit>(name); };
    const auto combo = [this](const char *name) { return control<QComboBox>(name); };
    const auto button = [this](const char *name) { return control<QPushButton>(name); };

    Text3 = edit("Text3");
    Text4 = edit("Text4");
    Text5 = edit("Text5");
    Text6 = edit("Text6");
    Text7 = edit("Text7");
    Text8 = edit("Text8");
    Text10 = edit("Text10");
    Text11 = edit("Text11");
    Text12 = edit("Text12");
    Text31 = edit("Text31");
    Text32 = edit("Text32");
    Text33 = edit("Text33");
    Text34 = edit("Text34");
    Text29 = control<QPlainTextEdit>("Text29");
    Text30 = control<QPlainTextEdit>("Text30");
    Combo1 = combo("Combo1");
    Combo2 = combo("Combo2");
    Combo3 = combo("Combo3");
    Combo4 = combo("Combo4");
    Combo5 = combo("Combo5");
    Combo6 = combo("Combo6");
    Combo7 = combo("Combo7");
    Combo8 = combo("Combo8");
    Combo16 = combo("Combo16");
    Command0 = button("Command0");
    Command1 = button("Command1");
    Command2 = button("Command2");
    Command3 = button("Command3");
    Command4 = button("Command4");
    Command5 = button("Command5");
    Command6 = button("Command6");
    Command7 = button("Command7");
    Command8 = button("Command8");
    Command9 = button("Command9");
    Check1 = control<QCheckBox>("Check1");
    ProgressBar1 = control<QProgressBar>("ProgressBar1");
    Label2 = control<QLabel>("Label2");
    Label21 = control<QLabel>("Label21");

    Command7->setEnabled(false);
    // The status box is narrow: show the start of what the actions write there.
    connect(Text3, &QLineEdit::textChanged, this, [this] {
        if (!Text3->hasFocus())
            Text3->setCursorPosition(0);
    });

    // What the user types into the ActivityLog becomes part of its text, as the program's appends do.
    connect(Text29, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showingLog)
            m_activityLog = Text29->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    });
}

void Form1::showActivityLog()
{
    if (m_batches > 0) {
        m_logReplaced = true;
        m_logNotShown.clear();
        return;
    }
    m_showingLog = true;
    QString shown = m_activityLog;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Text29->setPlainText(shown);
    Text29->moveCursor(QTextCursor::End);
    Text29->ensureCursorVisible();
    m_showingLog = false;
}

void Form1::showAppendedText(const QString &text)
{
    // Appending at the end costs the length of the text, not of the whole log.
    m_showingLog = true;
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QTextCursor end(Text29->document());
    end.movePosition(QTextCursor::End);
    end.insertText(shown);
    Text29->setTextCursor(end);
    Text29->ensureCursorVisible();
    m_showingLog = false;
}

void Form1::setActivityLog(const QString &text)
{
    m_activityLog = text;
    showActivityLog();
}

void Form1::appendActivityLog(const QString &message)
{
    appendActivityLogText(QStringLiteral("\r\n") + message);
}

void Form1::appendActivityLogText(const QString &text)
{
    if (m_activityLog.size() + text.size() > ActivityLogLimit) {
        // A device that floods the log must not exhaust memory: keep the newest half.
        const qsizetype keepFrom =
            m_activityLog.indexOf(QLatin1String("\r\n"), m_activityLog.size() - ActivityLogLimit / 2);
        setActivityLog(m_activityLog.mid(keepFrom < 0 ? m_activityLog.size() - ActivityLogLimit / 2 : keepFrom) + text);
        return;
    }
    m_activityLog += text;
    if (m_batches > 0)
        m_logNotShown += text;
    else
        showAppendedText(text);
}

void Form1::beginUpdateBatch()
{
    ++m_batches;
}

void Form1::endUpdateBatch()
{
    if (--m_batches > 0)
        return;
    for (const auto &[field, text] : std::exchange(m_fieldsNotShown, {}))
        writeField(field, text);
    if (std::exchange(m_logReplaced, false))
        showActivityLog();
    else if (!m_logNotShown.isEmpty())
        showAppendedText(std::exchange(m_logNotShown, {}));
}

QString Form1::fieldText(Field field) const
{
    if (const auto pending = m_fieldsNotShown.find(field); pending != m_fieldsNotShown.end())
        return pending->second;
    if (field == Field::Digi)
        return digi() ? QStringLiteral("1") : QStringLiteral("0");
    const char *name = controlsOf(field).front();
    if (auto *combo = control<QComboBox>(name))
        return combo->currentText();
    return control<QLineEdit>(name)->text();
}

void Form1::setFieldText(Field field, const QString &text)
{
    if (m_batches > 0 && field != Field::Digi)
        m_fieldsNotShown[field] = trimmedByChangeRule(field, text);
    else
        writeField(field, text);
}

void Form1::writeField(Field field, const QString &text)
{
    if (field == Field::Digi) {
        setDigi(text == QLatin1String("1"));
        return;
    }
    const char *name = controlsOf(field).front();
    if (auto *combo = control<QComboBox>(name))
        setProgramText(combo->lineEdit(), text);
    else
        setProgramText(control<QLineEdit>(name), text);
}

QLineEdit *Form1::octetBox(Field field, int index) const
{
    return control<QLineEdit>(controlsOf(field)[std::size_t(index)]);
}

void Form1::setOctet(Field field, int index, const QString &text)
{
    setProgramText(octetBox(field, index), text);
}

QStringList Form1::octets(Field field) const
{
    QStringList values;
    for (const char *name : controlsOf(field))
        values << control<QLineEdit>(name)->text();
    return values;
}

bool Form1::digi() const
{
    return Check1->isChecked();
}

void Form1::setDigi(bool on)
{
    Check1->setChecked(on);
}

void Form1::setOctetBoxesEnabled(bool enabled)
{
    for (const char *name : octetBoxNames())
        control<QLineEdit>(name)->setEnabled(enabled);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Every wait returns at once from here on, the running actions meet a
    // closed port at their next step, and nothing more is sent.
    Timer1->stop();
    Timer2->stop();
    port().shutDown();
    m_platform.beginClosing();
    QWidget::closeEvent(event);
}

} // namespace pelzo
