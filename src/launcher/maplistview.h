#pragma once

#include <QListView>

// The main window's map list. While it holds no entry it can say why, in a greyed line painted
// inside it (never an entry of the list).
class MapListView final : public QListView
{
    Q_OBJECT
    Q_PROPERTY(QString placeholderText READ placeholderText WRITE setPlaceholderText)

public:
    explicit MapListView(QWidget *parent = nullptr);

    QString placeholderText() const { return m_placeholder; }
    void setPlaceholderText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_placeholder;
};
