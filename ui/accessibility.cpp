// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility.h"

#include "ui/controls.h"

#include "game/board.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>

namespace ui {

namespace {

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

    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto result = QAccessibleWidget::relations(match);
        QWidget *named = static_cast<CaptionLabel *>(widget())->labelFor();
        if (named && (match & QAccessible::Label))
            result.append({QAccessible::queryAccessibleInterface(named), QAccessible::Label});
        return result;
    }
};

// The board: a table of five rows of five cells.
class GridAccessible final : public QAccessibleObject, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(BoardGrid *grid)
        : QAccessibleObject(grid)
    { }

    BoardGrid *grid() const { return static_cast<BoardGrid *>(object()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
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
    QAccessible::Role role() const override { return QAccessible::Table; }
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
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface *parent() const override
    {
        BoardGrid *grid = boardOf(widget()->parentWidget());
        return grid ? QAccessible::queryAccessibleInterface(grid) : QAccessibleWidget::parent();
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
        return list;
    }
};

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
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

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ui
