// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility.h"

#include "ui/controls.h"

#include "game/board.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QString>
#include <QStringList>

namespace ui {

namespace {

// A part of a window's announcement line: the line itself, a status bar, and its
// notifications. Plain objects, not widgets: nothing of them is drawn.
class AnnouncementPart final : public QObject
{
public:
    AnnouncementPart(QObject *parent, QAccessible::Role partRole)
        : QObject(parent)
        , role(partRole)
    { }

    const QAccessible::Role role;
    QString text;
    int latest = -1; // of the line: the notification that holds the latest announcement
};

// A screen reader reads a notification's text some time after it appears, once the game
// answers again: a few announcements in a row each keep a notification of their own.
constexpr int Notifications = 16;

QList<AnnouncementPart *> partsOf(const QObject *parent)
{
    QList<AnnouncementPart *> parts;
    for (QObject *child : parent->children()) {
        if (auto *part = dynamic_cast<AnnouncementPart *>(child))
            parts.append(part);
    }
    return parts;
}

AnnouncementPart *partOf(const QObject *parent)
{
    const QList<AnnouncementPart *> parts = partsOf(parent);
    return parts.isEmpty() ? nullptr : parts.first();
}

class AnnouncementAccessible final : public QAccessibleObject
{
public:
    explicit AnnouncementAccessible(AnnouncementPart *part)
        : QAccessibleObject(part)
    { }

    AnnouncementPart *part() const { return static_cast<AnnouncementPart *>(object()); }

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QAccessibleInterface *child(int index) const override
    {
        const QList<AnnouncementPart *> parts = partsOf(object());
        return index >= 0 && index < parts.size()
            ? QAccessible::queryAccessibleInterface(parts.at(index))
            : nullptr;
    }
    int childCount() const override { return int(partsOf(object()).size()); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(partsOf(object()).indexOf(child->object())) : -1;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? part()->text : QString();
    }
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return part()->role; }
    QAccessible::State state() const override { return {}; }
};

// The direct child widgets a screen reader sees, in the order the window holds them.
QList<QWidget *> shownChildren(const QWidget *parent)
{
    QList<QWidget *> result;
    for (QObject *child : parent->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow() && !widget->isHidden())
            result.append(widget);
    }
    return result;
}

// A picture box whose press action is a click on it.
class PressableAccessible : public QAccessibleWidget
{
public:
    PressableAccessible(PictureBox *box, QAccessible::Role role)
        : QAccessibleWidget(box, role)
    { }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            static_cast<PictureBox *>(widget())->press();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

// A picture button: a push button.
class ButtonAccessible final : public PressableAccessible
{
public:
    explicit ButtonAccessible(PictureBox *button)
        : PressableAccessible(button, QAccessible::Button)
    { }
};

// The offered card.
class PictureAccessible final : public QAccessibleWidget
{
public:
    explicit PictureAccessible(QWidget *box)
        : QAccessibleWidget(box, QAccessible::Graphic)
    { }
};

// A label; it may name another control.
class LabelAccessible final : public QAccessibleWidget
{
public:
    explicit LabelAccessible(CaptionLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    { }

    QAccessible::State state() const override
    {
        // A label that the arrow keys give the focus to, such as a high-score entry.
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = s.focusable || widget()->hasFocus();
        return s;
    }

    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto result = QAccessibleWidget::relations(match);
        // The pair says what the other object is to this one: labelled by it.
        QWidget *named = static_cast<CaptionLabel *>(widget())->labelFor();
        if (named && (match & QAccessible::Labelled))
            result.append({QAccessible::queryAccessibleInterface(named), QAccessible::Labelled});
        return result;
    }
};

// The board: five rows of five cells, with the table's rows and columns.
class GridAccessible final : public QAccessibleObject, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(BoardGrid *grid)
        : QAccessibleObject(grid)
    { }

    BoardGrid *grid() const { return static_cast<BoardGrid *>(object()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        // Offered with the cells' own interface only (see CellAccessible): Qt's bridge takes
        // every child of a table for a table cell.
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
#endif
        return QAccessibleObject::interface_cast(type);
    }

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(grid()->window());
    }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return QAccessible::queryAccessibleInterface(grid()->cells()[std::size_t(index)]);
    }
    int childCount() const override { return int(grid()->cells().size()); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? grid()->indexOf(child->object()) : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        // Cells overlap by a pixel; the higher index is drawn on top.
        for (int i = childCount() - 1; i >= 0; --i) {
            QAccessibleInterface *cell = child(i);
            if (cell && cell->rect().contains(x, y))
                return cell;
        }
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        for (PictureBox *cell : grid()->cells()) {
            if (cell->hasFocus())
                return QAccessible::queryAccessibleInterface(cell);
        }
        return nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? QStringLiteral("Board") : QString();
    }
    QRect rect() const override
    {
        QRect area;
        for (int i = 0; i < childCount(); ++i)
            area |= child(i)->rect();
        return area;
    }
    // A group that offers the table's rows and columns: screen readers read a whole row of a
    // table at each move to another row, which here would bury the one cell asked for.
    QAccessible::Role role() const override { return QAccessible::Grouping; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !grid()->window()->isVisible();
        return s;
    }

    // The table.
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (!game::onBoard(row, column))
            return nullptr;
        return child(game::cellIndex(row, column));
    }
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QString columnDescription(int column) const override
    {
        return QStringLiteral("Column %1").arg(column + 1);
    }
    QString rowDescription(int row) const override { return QStringLiteral("Row %1").arg(row + 1); }
    int columnCount() const override { return game::BoardSide; }
    int rowCount() const override { return game::BoardSide; }
    int selectedCellCount() const override { return 0; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override { return {}; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override { }
};

// The board of the window that holds a cell: looked up at each use, so that an interface made
// while the window is being built still finds it.
BoardGrid *boardOf(const QWidget *window)
{
    return window ? window->findChild<BoardGrid *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

// A cell of the board: its press action places the offered card as a click does.
class CellAccessible final : public PressableAccessible, public QAccessibleTableCellInterface
{
public:
    explicit CellAccessible(PictureBox *cell)
        : PressableAccessible(cell, QAccessible::Cell)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        // From Qt 6.8 on, a table cell leads screen readers to its table whatever the table's
        // role, and Orca 48 then reads the whole row at each move to another row: there the
        // board is a group of cells without rows and columns, and a cell's name says its own.
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
#endif
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface *parent() const override
    {
        BoardGrid *grid = boardOf(widget()->parentWidget());
        return grid ? QAccessible::queryAccessibleInterface(grid) : QAccessibleWidget::parent();
    }

    QAccessible::State state() const override
    {
        // Told as enabled while only its window is disabled (during the count-up), which nothing
        // on the screen shows either: a screen reader then says the renamed cell without "grayed".
        QAccessible::State s = PressableAccessible::state();
        s.disabled = widget()->testAttribute(Qt::WA_ForceDisabled);
        return s;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return game::cellColumn(index()); }
    int rowIndex() const override { return game::cellRow(index()); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override
    {
        BoardGrid *grid = boardOf(widget()->parentWidget());
        return grid ? QAccessible::queryAccessibleInterface(grid) : nullptr;
    }

private:
    int index() const { return static_cast<PictureBox *>(widget())->index(); }
};

// The main window: its cells are seen through the board, which takes the first cell's place.
class MainWindowAccessible final : public QAccessibleWidget
{
public:
    explicit MainWindowAccessible(QWidget *window)
        : QAccessibleWidget(window, QAccessible::Window)
    { }

    int childCount() const override { return int(children().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QObject *> list = children();
        return index >= 0 && index < list.size()
            ? QAccessible::queryAccessibleInterface(list.at(index))
            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(children().indexOf(child->object())) : -1;
    }

private:
    QList<QObject *> children() const
    {
        QList<QObject *> list;
        BoardGrid *grid = boardOf(widget());
        for (QWidget *w : shownChildren(widget())) {
            const int cell = grid ? grid->indexOf(w) : -1;
            if (cell < 0)
                list.append(w);
            else if (cell == 0)
                list.append(grid);
        }
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        if (AnnouncementPart *line = partOf(widget()))
            list.append(line);
#endif
        return list;
    }
};

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (auto *part = dynamic_cast<AnnouncementPart *>(object))
        return new AnnouncementAccessible(part);
    if (className == QLatin1String("ui::BoardGrid"))
        return new GridAccessible(static_cast<BoardGrid *>(object));
    if (className == QLatin1String("ui::PictureButton"))
        return new ButtonAccessible(static_cast<PictureBox *>(object));
    if (className == QLatin1String("ui::CaptionLabel"))
        return new LabelAccessible(static_cast<CaptionLabel *>(object));
    if (className == QLatin1String("ui::PictureBox")) {
        auto *box = static_cast<PictureBox *>(object);
        if (box->isCell())
            return new CellAccessible(box);
        return new PictureAccessible(box);
    }
    if (className == QLatin1String("ui::frmQuintagrid"))
        return new MainWindowAccessible(static_cast<QWidget *>(object));
    if (className == QLatin1String("ui::frmHighScores")
        || className == QLatin1String("ui::frmEnterName")
        || className == QLatin1String("ui::frmAbout"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Dialog);
    return nullptr;
}

// Passes every change on to screen readers but two. A control's enabled state that follows its
// window's, when the window is disabled or enabled as a whole (during the count-up, or while
// a secondary window is open). Each would be an event for every control at once, a flood
// in which a screen reader drops what the game announces meanwhile; the window's own change
// is still told.
// A focus event for a control that has just lost the focus: Qt tells one when a control
// gives the focus up because its window is disabled, and a screen reader then says the
// control again, disabled ("About push button grayed") before the window it opened.
void passUpdate(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::Focus) {
        const auto *widget = qobject_cast<const QWidget *>(event->object());
        if (widget && !widget->isWindow() && !widget->hasFocus())
            return;
    }
    if (event->type() == QAccessible::StateChanged) {
        const auto *change = static_cast<QAccessibleStateChangeEvent *>(event);
        const auto *widget = qobject_cast<const QWidget *>(event->object());
        if (change->changedStates().disabled && widget && !widget->isWindow()
            && !widget->testAttribute(Qt::WA_ForceDisabled)
            && widget->isEnabled() == widget->window()->isEnabled())
            return;
    }
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(passUpdate);
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        QAccessible::installUpdateHandler(passUpdate);
        return true;
    }();
    Q_UNUSED(installed);
}

void announce(QWidget *window, const QString &text)
{
    // Up to Qt 6.7, the notification sits in a status bar so that screen readers (Orca 43)
    // say only its text, not what it is.
    AnnouncementPart *line = partOf(window);
    if (!line) {
        line = new AnnouncementPart(window, QAccessible::StatusBar);
        for (int i = 0; i < Notifications; ++i)
            new AnnouncementPart(line, QAccessible::Notification);
    }
    line->latest = (line->latest + 1) % Notifications;
    AnnouncementPart *notice = partsOf(line).at(line->latest);
    notice->text = text;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.8 tells screen readers the text itself, which they say without a word of their own
    // (Orca 48 says "notification" before a notification); the line only keeps the texts.
    QAccessibleAnnouncementEvent announcement(window, text);
    QAccessible::updateAccessibility(&announcement);
#else
    // A screen reader that keeps the names it has read (Orca 47 does) learns the new one before
    // the notification shows again; without it, it would say what this one held 16 texts ago.
    QAccessibleEvent renamed(notice, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent shown(notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
}

QString spokenPoints(int points)
{
    return points == 1 ? QStringLiteral("1 point") : QStringLiteral("%1 points").arg(points);
}

QStringList recentAnnouncements(const QWidget *window)
{
    QStringList texts;
    const AnnouncementPart *line = partOf(window);
    if (!line)
        return texts;
    const QList<AnnouncementPart *> notices = partsOf(line);
    for (int i = 1; i <= Notifications; ++i) {
        const QString &text = notices.at((line->latest + i) % Notifications)->text;
        if (!text.isEmpty())
            texts << text;
    }
    return texts;
}

} // namespace ui
