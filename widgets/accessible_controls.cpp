#include "widgets/accessible_controls.h"
#include "widgets/arc_dial.h"
#include "widgets/panel.h"
#include "widgets/push_button.h"
#include "widgets/scroll_bar.h"
#include "widgets/text_label.h"
#include <QAccessibleWidget>
#include <algorithm>

namespace widgets {

namespace {

// A name the program set for the control wins over its caption.
QString nameOr(const QWidget* widget, const QString& caption)
{
    return widget->accessibleName().isEmpty() ? caption : widget->accessibleName();
}

class AccessibleButton : public QAccessibleWidget {
public:
    explicit AccessibleButton(PushButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? nameOr(widget(), button()->text()) : QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    // Queued, so that the caller (a screen reader waiting on the bus) has
    // its answer before whatever the click starts, a modal box included.
    void doAction(const QString& action) override
    {
        if (action != pressAction())
            return QAccessibleWidget::doAction(action);
        QMetaObject::invokeMethod(button(), "click", Qt::QueuedConnection);
    }

private:
    PushButton* button() const { return static_cast<PushButton*>(widget()); }
};

class AccessibleLabel : public QAccessibleWidget {
public:
    explicit AccessibleLabel(TextLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<const TextLabel*>(widget());
        return t == QAccessible::Name ? nameOr(label, label->text()) : QAccessibleWidget::text(t);
    }
};

// A control holding a number in a range; Control is ScrollBar or ArcDial.
template <class Control>
class AccessibleValue : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    AccessibleValue(Control* control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? valueText() : QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return control()->value(); }
    // Set as the user's input would, so the program hears of it.
    void setCurrentValue(const QVariant& value) override
    {
        control()->setValue(std::clamp(value.toDouble(), minimum(), maximum()));
    }
    QVariant minimumValue() const override { return minimum(); }
    QVariant maximumValue() const override { return maximum(); }
    QVariant minimumStepSize() const override { return step(); }

private:
    Control* control() const { return static_cast<Control*>(widget()); }
    QString valueText() const;
    double minimum() const;
    double maximum() const;
    double step() const;
};

template <> QString AccessibleValue<ScrollBar>::valueText() const { return QString::number(control()->value()); }
template <> double AccessibleValue<ScrollBar>::minimum() const { return control()->minimum(); }
template <> double AccessibleValue<ScrollBar>::maximum() const { return control()->maximum(); }
template <> double AccessibleValue<ScrollBar>::step() const { return control()->smallChange(); }

// The dial reads as it shows: whole degrees.
template <> QString AccessibleValue<ArcDial>::valueText() const { return ArcDial::valueText(control()->value()); }
template <> double AccessibleValue<ArcDial>::minimum() const { return -180; }
template <> double AccessibleValue<ArcDial>::maximum() const { return 180; }
template <> double AccessibleValue<ArcDial>::step() const { return 1; }

QAccessibleInterface* accessibleControl(const QString& className, QObject* object)
{
    if (auto* button = qobject_cast<PushButton*>(object))
        return new AccessibleButton(button);
    if (auto* label = qobject_cast<TextLabel*>(object))
        return new AccessibleLabel(label);
    if (auto* bar = qobject_cast<ScrollBar*>(object))
        return new AccessibleValue<ScrollBar>(bar, QAccessible::ScrollBar);
    if (auto* dial = qobject_cast<ArcDial*>(object))
        return new AccessibleValue<ArcDial>(dial, QAccessible::Dial);
    if (auto* panel = qobject_cast<Panel*>(object))
        return new QAccessibleWidget(panel, QAccessible::Pane);
    // Asked last for the plain QWidget in a class's ancestry, so Qt's own
    // windows (boxes, dialogs) have their interfaces by then; a window of
    // ours reads as a frame named by its title, not as a filler.
    if (className == QLatin1String("QWidget") && static_cast<QWidget*>(object)->isWindow())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}

void installAccessibleControls()
{
    QAccessible::installFactory(accessibleControl);
}

}
