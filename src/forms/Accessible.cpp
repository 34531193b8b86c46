#include "forms/Accessible.h"

#include <QAccessibleWidget>
#include <QVariant>
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

Voice::Voice(QWidget *parent) : QObject(nullptr), m_parent(parent)
{
    for (int i = 0; i < 2; ++i) {
        auto *voice = new QWidget(parent);
        voice->setObjectName(QStringLiteral("Voice%1").arg(i + 1));
        voice->setGeometry(0, 0, 1, 1); // drawn as nothing, never in the mouse's way
        voice->setAttribute(Qt::WA_TransparentForMouseEvents);
        voice->lower(); // below every control: the stacking stays the layout's
        // What it says is kept on the control, which its reader interface
        // outlives by no moment.
        Describe(voice, QAccessible::Client, [voice] { return voice->property("said").toString(); });
        m_voices[i] = voice;
    }
    // Goes with its controls, and is no child of the parent's own.
    setParent(m_voices[0]);
}

bool Voice::focusIsFree() const
{
    if (!m_parent->isEnabled() || !m_parent->isVisible())
        return false;
    const QWidget *focus = m_parent->window()->focusWidget();
    return !focus || focus == m_parent->window() || !focus->isVisible() || !focus->isEnabled()
        || focus == m_parent || m_parent->isAncestorOf(focus);
}

void Voice::Say(const QString &text)
{
    // Said by the voice without the focus, which then takes it.
    const bool free = focusIsFree();
    if (free && m_voices[m_current]->hasFocus())
        m_current = 1 - m_current;
    m_voices[m_current]->setProperty("said", text);
    Announce(m_voices[m_current]);
    if (free)
        m_voices[m_current]->setFocus(Qt::OtherFocusReason);
}

void Voice::TakeFocus()
{
    if (focusIsFree())
        m_voices[m_current]->setFocus(Qt::OtherFocusReason);
}

} // namespace Accessible
