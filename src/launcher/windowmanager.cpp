#include "launcher/windowmanager.h"

#include "launcher/form.h"
#include "platform/messageboxes.h"

#include <QCoreApplication>

WindowManager::WindowManager(MessageBoxes &messages, QObject *parent)
    : QObject(parent)
    , m_messages(messages)
    , m_quit([] { QCoreApplication::quit(); })
{
}

WindowManager::~WindowManager()
{
    for (const QPointer<QWidget> &window : std::as_const(m_loaded))
        delete window.data();
}

void WindowManager::registerWindow(QStringView name, Factory factory)
{
    m_factories.emplace(name.toString(), std::move(factory));
}

bool WindowManager::isRegistered(QStringView name) const
{
    return m_factories.contains(name.toString());
}

QWidget *WindowManager::find(QStringView name) const
{
    return m_loaded.value(name.toString()).data();
}

QWidget *WindowManager::load(QStringView name)
{
    const QString key = name.toString();
    if (QWidget *existing = find(name))
        return existing;
    const auto factory = m_factories.constFind(key);
    if (factory == m_factories.cend()) {
        m_messages.show(nullptr,
                        Message{QStringLiteral("La fenêtre « %1 » n'est pas disponible "
                                               "dans cette version.")
                                    .arg(key),
                                {},
                                MessageIcon::Information});
        return nullptr;
    }
    QWidget *window = (*factory)();
    window->setObjectName(key);
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_loaded.insert(key, window);
    connect(window, &QObject::destroyed, this, [this, key, window] {
        // A window closed by its frame leaves the map here; a newer one of the name stays.
        const auto it = m_loaded.constFind(key);
        if (it != m_loaded.cend() && (it->isNull() || it->data() == window)) {
            m_loaded.remove(key);
            m_keptHidden.remove(key);
            Q_EMIT windowUnloaded(key);
        }
    });
    QPointer<QWidget> guard(window);
    bool visible = true;
    if (auto *form = dynamic_cast<Form *>(window))
        visible = form->formLoad();
    if (!guard)
        return nullptr; // the load handler unloaded its own window
    if (!visible)
        m_keptHidden.insert(key);
    Q_EMIT windowLoaded(key);
    return window;
}

QWidget *WindowManager::show(QStringView name)
{
    QWidget *window = load(name);
    if (!window)
        return nullptr;
    if (m_keptHidden.remove(name.toString()))
        return window;
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void WindowManager::unload(QStringView name)
{
    const QString key = name.toString();
    const QPointer<QWidget> window = m_loaded.take(key);
    m_keptHidden.remove(key);
    if (!window)
        return;
    window->close();
    if (window)
        window->deleteLater();
    Q_EMIT windowUnloaded(key);
}

bool WindowManager::replace(QStringView current, QStringView next)
{
    if (!show(next))
        return false;
    unload(current);
    return true;
}

void WindowManager::quit()
{
    const QStringList names = m_loaded.keys();
    for (const QString &name : names)
        unload(name);
    m_quit();
}
