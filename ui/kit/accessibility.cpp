#include "ui/kit/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPushButton>
#include <QVariant>
#include <QWidget>

#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"

namespace vk {
namespace {

// The texts ride on the widget as properties, so that an interface made
// before the first drawing reads the newest texts.
constexpr const char* kItems = "vkAccessibleItems";
constexpr const char* kCells = "vkAccessibleCells";
constexpr const char* kColumns = "vkAccessibleColumns";
constexpr const char* kValue = "vkAccessibleValue";
constexpr const char* kListItem = "vkAccessibleListItem";
constexpr const char* kList = "vkAccessibleList";

QStringList Texts(const QWidget* w)
{
    const QVariant cells = w->property(kCells);
    return cells.isValid() ? cells.toStringList() : w->property(kItems).toStringList();
}

bool IsTable(const QWidget* w) { return w->property(kCells).isValid(); }

int Columns(const QWidget* w) { return IsTable(w) ? std::max(1, w->property(kColumns).toInt()) : 1; }

// One item of a painted list or one cell of a painted table.  It has no
// object of its own: it lives as long as the picture's interface.
class ItemAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ItemAccessible(QAccessibleInterface* container, QWidget* picture, int index)
        : container_(container), picture_(picture), index_(index)
    {
    }

    bool isValid() const override { return container_->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return container_->window(); }
    QAccessibleInterface* parent() const override { return container_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return {};
        const QStringList texts = Texts(picture_);
        return index_ < texts.size() ? texts[index_] : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return IsTable(picture_) ? QAccessible::Cell : QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        s.invisible = !picture_->isVisible();
        return s;
    }
    QRect rect() const override
    {
        // The items share the picture evenly, row by row.
        const QRect whole = container_->rect();
        const int columns = Columns(picture_);
        const int rows = std::max<int>(1, (static_cast<int>(Texts(picture_).size()) + columns - 1) / columns);
        const int w = whole.width() / columns;
        const int h = whole.height() / rows;
        return QRect(whole.left() + columnIndex() * w, whole.top() + rowIndex() * h, w, h);
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableCellInterface && IsTable(picture_))
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return index_ % Columns(picture_); }
    int rowIndex() const override { return index_ / Columns(picture_); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return container_; }

private:
    QAccessibleInterface* container_;
    QWidget* picture_;
    int index_;
};

// A picture control: a graphic, a clickable icon, a label with a number,
// or a painted list or table.
class PictureAccessible : public QAccessibleWidget,
                          public QAccessibleTableInterface,
                          public QAccessibleValueInterface,
                          public QAccessibleTextInterface {
public:
    explicit PictureAccessible(QWidget* w) : QAccessibleWidget(w) {}
    ~PictureAccessible() override
    {
        for (QAccessible::Id id : std::as_const(items_))
            QAccessible::deleteAccessibleInterface(id);
    }

    QAccessible::Role role() const override
    {
        if (IsTable(widget()))
            return QAccessible::Table;
        if (widget()->property(kItems).isValid())
            return QAccessible::List;
        if (widget()->property(kValue).isValid())
            return QAccessible::StaticText;
        if (widget()->focusPolicy() != Qt::NoFocus)
            return QAccessible::Button;
        return QAccessible::Graphic;
    }
    QString text(QAccessible::Text t) const override { return QAccessibleWidget::text(t); }
    int childCount() const override
    {
        return IsPainted() ? static_cast<int>(Texts(widget()).size()) : QAccessibleWidget::childCount();
    }
    QAccessibleInterface* child(int index) const override
    {
        if (!IsPainted())
            return QAccessibleWidget::child(index);
        if (index < 0 || index >= childCount())
            return nullptr;
        auto it = items_.constFind(index);
        if (it == items_.constEnd()) {
            auto* item = new ItemAccessible(const_cast<PictureAccessible*>(this), widget(), index);
            it = items_.insert(index, QAccessible::registerAccessibleInterface(item));
        }
        return QAccessible::accessibleInterface(*it);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!IsPainted())
            return QAccessibleWidget::indexOfChild(child);
        for (auto it = items_.constBegin(); it != items_.constEnd(); ++it)
            if (QAccessible::accessibleInterface(*it) == child)
                return it.key() < childCount() ? it.key() : -1;
        return -1;
    }
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (role() == QAccessible::Button)
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && role() == QAccessible::Button)
            QMetaObject::invokeMethod(widget(), "clicked");
        else
            QAccessibleWidget::doAction(action);
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface && IsTable(widget()))
            return static_cast<QAccessibleTableInterface*>(this);
        if (t == QAccessible::ValueInterface && widget()->property(kValue).isValid())
            return static_cast<QAccessibleValueInterface*>(this);
        if (t == QAccessible::TextInterface && IsPainted())
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The table.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        const int columns = Columns(widget());
        if (column < 0 || column >= columns)
            return nullptr;
        return child(row * columns + column);
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Columns(widget()); }
    int rowCount() const override { return (childCount() + columnCount() - 1) / columnCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // The number of a label.
    QVariant currentValue() const override { return widget()->property(kValue); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return currentValue(); }
    QVariant minimumValue() const override { return currentValue(); }
    QVariant minimumStepSize() const override { return 1; }

    // The whole list or table as read-only text, a line a row.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        return WholeText().mid(startOffset, endOffset - startOffset);
    }
    QRect characterRect(int) const override { return {}; }
    int characterCount() const override { return static_cast<int>(WholeText().size()); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    bool IsPainted() const { return IsTable(widget()) || widget()->property(kItems).isValid(); }
    QString WholeText() const { return AccessibleText(widget()); }

    mutable QHash<int, QAccessible::Id> items_;
};

// The owner-drawn button: its caption (or the name it was given, for a key
// that shows a picture), enabled or not, pressed or not; a member line of
// the menu is an item of a list.
class QuizButtonAccessible : public QAccessibleWidget {
public:
    explicit QuizButtonAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}

    QAccessible::Role role() const override
    {
        return widget()->property(kListItem).toBool() ? QAccessible::ListItem : QAccessible::Button;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return Button()->text().remove(QLatin1Char('&'));
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = Button()->isDown();
        s.defaultButton = Button()->isDefault();
        return s;
    }
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (Button()->isEnabled())
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && Button()->isEnabled())
            Button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QPushButton* Button() const { return static_cast<QPushButton*>(widget()); }
};

QAccessibleInterface* Factory(const QString& key, QObject* object)
{
    // The factory is asked once for every class of the object's line, the
    // most derived first.
    if (!object || key != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto* button = qobject_cast<TTevQuizButton*>(object))
        return new QuizButtonAccessible(button);
    if (auto* picture = qobject_cast<PictureBox*>(object))
        return new PictureAccessible(picture);
    if (object->property(kList).toBool())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::List);
    return nullptr;
}

void Changed(QWidget* w)
{
    QAccessibleEvent event(w, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(Factory);
}

void SetAccessibleItems(QWidget* list, const QStringList& items)
{
    if (list->property(kItems).toStringList() == items && list->property(kItems).isValid())
        return;
    list->setProperty(kItems, items);
    QAccessibleTableModelChangeEvent event(list, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void AppendAccessibleItems(QWidget* list, const QStringList& items)
{
    SetAccessibleItems(list, list->property(kItems).toStringList() + items);
}

void SetAccessibleCells(QWidget* table, int columns, const QStringList& cells)
{
    table->setProperty(kColumns, columns);
    table->setProperty(kCells, cells);
    QAccessibleTableModelChangeEvent event(table, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

QString AccessibleText(const QWidget* picture)
{
    const QStringList texts = Texts(picture);
    const int columns = Columns(picture);
    QStringList rows;
    for (int i = 0; i < texts.size(); i += columns)
        rows << texts.mid(i, columns).join(QLatin1Char(' '));
    return rows.join(QLatin1Char('\n'));
}

void SetAccessibleValue(QWidget* label, const QString& name, double value)
{
    const bool changed = label->property(kValue) != QVariant(value);
    label->setProperty(kValue, value);
    label->setAccessibleName(name);
    if (changed) {
        QAccessibleValueChangeEvent event(label, value);
        QAccessible::updateAccessibility(&event);
    }
}

void MarkAsListItem(QWidget* button)
{
    button->setProperty(kListItem, true);
    Changed(button);
}

QWidget* NewAccessibleList(QWidget* parent, const QString& name)
{
    InstallAccessibility();
    auto* list = new QWidget(parent);
    // Set before a screen reader can first ask for the widget.
    list->setProperty(kList, true);
    list->setAccessibleName(name);
    return list;
}

void AnnounceTextChange(QWidget* control, const QString& oldText, const QString& newText)
{
    QAccessibleTextUpdateEvent event(control, 0, oldText, newText);
    QAccessible::updateAccessibility(&event);
}

void AnnounceAlert(QWidget* window, const QString& text)
{
    window->setAccessibleDescription(text);
    QAccessibleEvent event(window, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

} // namespace vk
