#include "Accessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace {

struct Description {
    QAccessible::Role role;
    Accessible::Name name;
};

QHash<const QObject *, Description> &descriptions()
{
    static QHash<const QObject *, Description> all;
    return all;
}

// A described control: its own role and its current name; the rest (place,
// state, parent and children) as for any widget.
class DescribedWidget : public QAccessibleWidget {
public:
    DescribedWidget(QWidget *widget, const Description &description)
        : QAccessibleWidget(widget, description.role), m_name(description.name)
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

QAccessibleInterface *describedFactory(const QString &, QObject *object)
{
    const auto found = descriptions().constFind(object);
    if (found == descriptions().constEnd() || !object->isWidgetType())
        return nullptr;
    return new DescribedWidget(static_cast<QWidget *>(object), *found);
}

} // namespace

namespace Accessible {

void Describe(QWidget *widget, QAccessible::Role role, Name name)
{
    static const bool installed = [] {
        QAccessible::installFactory(describedFactory);
        return true;
    }();
    (void)installed;
    const bool known = descriptions().contains(widget);
    descriptions().insert(widget, Description{role, std::move(name)});
    if (!known)
        QObject::connect(widget, &QObject::destroyed, [widget] { descriptions().remove(widget); });
}

void Describe(QWidget *widget, QAccessible::Role role, const QString &name)
{
    Describe(widget, role, [name] { return name; });
}

void Announce(QWidget *widget)
{
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace Accessible
