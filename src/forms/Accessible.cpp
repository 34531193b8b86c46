#include "forms/Accessible.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <utility>

namespace {

// A described control: its own role and its current name; the rest (place,
// state, parent and children) as for any widget.
class DescribedWidget : public QAccessibleWidget {
public:
    DescribedWidget(QWidget *widget, QAccessible::Role role, Accessible::Name name)
        : QAccessibleWidget(widget, role), m_name(std::move(name))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return m_name();
        return QAccessibleWidget::text(t);
    }

private:
    Accessible::Name m_name;
};

} // namespace

namespace Accessible {

void Describe(QWidget *widget, QAccessible::Role role, Name name)
{
    // Registered as the widget's interface: readers find it instead of the
    // one Qt would make for the widget's class, and it goes with the widget.
    QAccessible::registerAccessibleInterface(new DescribedWidget(widget, role, std::move(name)));
}

void Describe(QWidget *widget, QAccessible::Role role, const QString &name)
{
    Describe(widget, role, [name] { return name; });
}

namespace {

Watcher &watcher()
{
    static Watcher current;
    return current;
}

} // namespace

Watcher SetAnnouncementWatcherForTests(Watcher newWatcher)
{
    return std::exchange(watcher(), std::move(newWatcher));
}

void Announce(QWidget *widget)
{
    if (watcher()) {
        const Watcher current = watcher();
        current(widget);
    }
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace Accessible
