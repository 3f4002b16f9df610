#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

#include <functional>

class MessageBoxes;

// Opens, shows and unloads the program's windows by name. A window is created (and its load
// handler run) when it is first shown or loaded, and destroyed when it is unloaded or closed;
// showing it again creates a fresh one. At most one window of each name exists.
class WindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowManager)

public:
    using Factory = std::function<QWidget *()>;

    explicit WindowManager(MessageBoxes &messages, QObject *parent = nullptr);
    ~WindowManager() override;

    void registerWindow(QStringView name, Factory factory);
    bool isRegistered(QStringView name) const;

    // The loaded window of that name, or null.
    QWidget *find(QStringView name) const;
    template <typename T>
    T *find(QStringView name) const
    {
        return qobject_cast<T *>(find(name));
    }

    // Creates the window and runs its load handler, without showing it.
    QWidget *load(QStringView name);
    // Loads the window if needed, then shows it and brings it forward. A window whose load
    // handler asked to stay hidden is not shown by the first show after that load.
    QWidget *show(QStringView name);
    // Closes and destroys the window; nothing when it is not loaded.
    void unload(QStringView name);
    // Shows `next`, then unloads `current`: the usual way of moving between windows.
    // Nothing is unloaded when `next` could not be opened.
    bool replace(QStringView current, QStringView next);

    // Ends the program at once.
    void quit();
    void setQuitHandler(std::function<void()> handler) { m_quit = std::move(handler); }

Q_SIGNALS:
    void windowLoaded(const QString &name);
    void windowUnloaded(const QString &name);

private:
    MessageBoxes &m_messages;
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_loaded;
    QSet<QString> m_keptHidden;
    std::function<void()> m_quit;
};
